#pragma once
// Dialog data exchange: one call per control moves a value between the control and a
// member, in the direction the context says. A failed check shows its message once,
// then Fail() puts the focus on the control and aborts the whole exchange, so fields
// after the failing one are not touched.

#include <QWidget>

class QLineEdit;

// Thrown by CDataExchange::Fail and caught by UpdateData; never escapes an exchange.
struct CDataExchangeFailure {};

class CDataExchange {
public:
    CDataExchange(QWidget* dialog, bool saveAndValidate);

    bool m_bSaveAndValidate; // true: controls -> members (with checks); false: members -> controls
    QWidget* m_pDlgWnd;

    // Finds the control by id and remembers it as the one Fail() returns to. A missing
    // control is a programming fault of the form: it aborts the exchange.
    QWidget* PrepareCtrl(int id);
    QWidget* PrepareEditCtrl(int id);

    [[noreturn]] void Fail();

    QWidget* LastControl() const { return m_lastControl; }

private:
    QWidget* m_lastControl = nullptr;
    bool m_lastIsEdit = false;
};

// After the members are shown, every field the user is not typing in shows the
// beginning of its text, as the platform's edits do (Qt leaves the cursor at the end,
// so a long value in a narrow field showed only its tail).
void ShowBeginningOfTexts(QWidget* dialog);

// Runs an exchange; false when a check failed (its message has been shown).
template <class Exchange>
bool RunDataExchange(QWidget* dialog, bool saveAndValidate, Exchange&& exchange)
{
    CDataExchange dx(dialog, saveAndValidate);
    try {
        exchange(&dx);
    } catch (const CDataExchangeFailure&) {
        return false;
    }
    if (!saveAndValidate)
        ShowBeginningOfTexts(dialog);
    return true;
}
