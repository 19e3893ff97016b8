#pragma once
// The base of every form page: a view of the document built from a dialog template,
// with data exchange and a command map. A hidden page is disabled, and Qt passes that
// state on to every control of the form (a control disabled on its own stays so).
//
// The keyboard works on every form page as in a dialog: Enter in a single-line field or
// an editable list presses the page's default button, Enter on a focused button presses
// that button, and a multi-line field keeps Enter as a line break (Tab leaves it for the
// next control). Fields registered with ValidateOnLeave
// are checked when the focus leaves them; a failed check keeps the focus there and keeps
// the page in front (the tab window asks CanLeavePage before it switches).

#include "document/DocumentView.h"
#include "framework/CmdTarget.h"
#include "framework/CreateContext.h"
#include "framework/DataExchange.h"

#include <QPointer>
#include <QWidget>

#include <functional>
#include <vector>

class QPushButton;

class TVisualFormView : public QWidget, public CCmdTarget, public CDocumentView {
    Q_OBJECT
public:
    // Builds the template's controls (an id without a template gives an empty form) and
    // attaches the view to the context's document.
    TVisualFormView(int templateId, QWidget* parent, CCreateContext* context);
    ~TVisualFormView() override;

    // A window class creating T (constructed with parent and context) as a view node.
    template <class T>
    static TWindowClass ClassOf(const QString& name)
    {
        return TWindowClass{name, 5, [](QWidget* parent, CCreateContext* context) -> QWidget* {
                                return new T(parent, context);
                            }};
    }

    // An empty form page that stands for a form of a later subsystem.
    static TWindowClass EmptyFormClass(const QString& name);

    CQuorinDoc* GetDocument() const { return m_pDocument; }
    int TemplateId() const { return m_templateId; }

    // Controls -> members (save) or members -> controls; false when a check failed.
    bool UpdateData(bool saveAndValidate = true);

    // Hint 0 refreshes the controls, hint 1 hands the edits over (false refuses the
    // hand-over when a check failed); hint 2 does nothing here.
    bool OnUpdate(int hint) override;

    // A field checked when the focus leaves it for another control of the page. The
    // check returns false after showing its own message; the focus then goes back into
    // the field with its text selected.
    void ValidateOnLeave(QWidget* field, std::function<bool()> check);

    // Asked before the page is switched away from: runs the check of the validated field
    // that holds the focus. False (message shown, the field focused and selected) keeps
    // the page; a page without such a field may always be left.
    bool CanLeavePage();

    // The page's default push button (visible and enabled), or null.
    QPushButton* DefaultButton() const;

    // Makes the page the frame's active view and puts the focus into its first control.
    void ActivateFirstControl();

protected:
    virtual void DoDataExchange(CDataExchange* pDX);

    // Shows a failed check's message through the document's user interface.
    void ShowFieldError(const QString& text);
    // True while a failed check moves the focus back: the focus leaving and entering
    // fields then is no move of the user's.
    bool IsReturningFocus() const { return m_returningFocus; }
    // Puts the focus back into a field whose check failed (its page in front, its text
    // selected), without starting the leave check of the field the focus came from.
    void ReturnFocusToField(QWidget* field);

    bool event(QEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    struct LeaveCheck {
        QPointer<QWidget> field;
        std::function<bool()> check;
    };
    const LeaveCheck* FindLeaveCheck(const QObject* field) const;
    bool RunLeaveCheck(const LeaveCheck& check);

    CQuorinDoc* m_pDocument = nullptr;
    int m_templateId;
    std::vector<LeaveCheck> m_leaveChecks;
    bool m_returningFocus = false;
};
