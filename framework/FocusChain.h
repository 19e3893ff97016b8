#pragma once
// Where the keyboard goes inside a page: the first control that Tab reaches, and
// bringing a hidden page forward before the focus is put into one of its controls.

class QWidget;

namespace framework {

// A control of the container that Tab can reach: shown (as far as the container goes),
// enabled and taking the focus by Tab.
bool IsTabStop(const QWidget* container, const QWidget* widget);

// The first such control in the container's focus chain (template order); null when
// there is none.
QWidget* FirstTabStop(QWidget* container);

// Puts the focus into the first tab stop, or into the container itself when it has none;
// the text of a field is selected, as when the user tabs into it.
void FocusFirstTabStop(QWidget* container);

// Makes every tab window that holds the widget show the page the widget is on, so the
// focus can go there. False when a tab window refused (its page kept a failed field).
bool ShowPageOf(QWidget* widget);

// Gives the focus to a field whose check failed: its page is brought forward, and an
// edit gets its whole text selected so the next key replaces it.
void ReturnFocusTo(QWidget* field);

} // namespace framework
