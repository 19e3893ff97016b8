#pragma once
// What a screen reader says for the controls of a template: a static text names the
// input control that follows it in template order and becomes its buddy (focus by the
// label's mnemonic); a control's own name column wins over the label; a group box gives
// its title to the controls inside it as their description.

#include "framework/DialogTemplate.h"

#include <QString>

#include <vector>

class QWidget;

namespace framework {

// The label's text as a name: without "&" (a doubled one stays), trailing colon and
// blanks.
QString NameFromLabel(const QString& labelText);

// Letters no label may take as its mnemonic because the program's windows use them
// already (the menu bar's). Case does not matter.
void ReserveMnemonics(const QString& letters);
QString ReservedMnemonics();

// True for the kinds that take input and so take their name from a label in front.
bool TakesInputFromLabel(const ControlTemplate& control);

// True when the static text controls[index] is the label of the control after it: that
// control takes input, and the text is not the unit of the field before it on its row
// (a text with a colon is always a label).
bool LabelsNext(const std::vector<ControlTemplate>& controls, size_t index);

// Names, buddies, mnemonics and descriptions for the widgets built from the template;
// widgets[i] was built from dialogTemplate.controls[i].
void ApplyAccessibility(const DialogTemplate& dialogTemplate, const std::vector<QWidget*>& widgets);

} // namespace framework
