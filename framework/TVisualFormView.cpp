#include "framework/TVisualFormView.h"

#include "document/CQuorinDoc.h"
#include "framework/TemplateBuilder.h"
#include "framework/TemplateRegistry.h"
#include "framework/FocusChain.h"
#include "framework/MessageBox.h"
#include "framework/TFrameWnd.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QComboBox>
#include <QFocusEvent>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTextEdit>
#include <QTimer>

TVisualFormView::TVisualFormView(int templateId, QWidget* parent, CCreateContext* context)
    : QWidget(parent), m_templateId(templateId)
{
    if (const framework::DialogTemplate* form = framework::FindDialogTemplate(templateId)) {
        const framework::TemplateBuilder builder(framework::TemplateBuilder::DialogFont(*form));
        setMinimumSize(builder.Build(*form, this));
    }
    m_pDocument = context ? context->m_pCurrentDoc : nullptr;
    if (m_pDocument)
        m_pDocument->AddView(this);
    setFocusPolicy(Qt::StrongFocus);
}

TVisualFormView::~TVisualFormView()
{
    if (m_pDocument)
        m_pDocument->RemoveView(this);
}

TWindowClass TVisualFormView::EmptyFormClass(const QString& name)
{
    return TWindowClass{name, 5, [name](QWidget* parent, CCreateContext* context) -> QWidget* {
                            auto view = new TVisualFormView(0, parent, context);
                            view->setObjectName(name);
                            return view;
                        }};
}

bool TVisualFormView::UpdateData(bool saveAndValidate)
{
    return RunDataExchange(this, saveAndValidate, [this](CDataExchange* pDX) { DoDataExchange(pDX); });
}

bool TVisualFormView::OnUpdate(int hint)
{
    switch (hint) {
    case CDocumentView::HintRefresh: UpdateData(false); return true;
    case CDocumentView::HintHandOver: return UpdateData(true);
    default: return true;
    }
}

void TVisualFormView::DoDataExchange(CDataExchange*)
{
}

void TVisualFormView::ShowFieldError(const QString& text)
{
    if (m_pDocument)
        m_pDocument->UI().MessageBox(text, quorin::UserInterface::Icon::Stop);
    else
        framework::ShowMessage(window(), {text, framework::MessageIcon::Stop, framework::MessageButtons::Ok});
}

void TVisualFormView::ValidateOnLeave(QWidget* field, std::function<bool()> check)
{
    if (!field || !check)
        return;
    m_leaveChecks.push_back({field, std::move(check)});
    field->installEventFilter(this);
}

const TVisualFormView::LeaveCheck* TVisualFormView::FindLeaveCheck(const QObject* field) const
{
    for (const LeaveCheck& check : m_leaveChecks) {
        if (check.field && check.field == field)
            return &check;
    }
    return nullptr;
}

void TVisualFormView::ReturnFocusToField(QWidget* field)
{
    // Moving the focus back must not start the check of the field the user was moving to.
    const bool was = m_returningFocus;
    m_returningFocus = true;
    framework::ReturnFocusTo(field);
    m_returningFocus = was;
}

bool TVisualFormView::RunLeaveCheck(const LeaveCheck& check)
{
    if (check.check())
        return true;
    ReturnFocusToField(check.field);
    return false;
}

bool TVisualFormView::CanLeavePage()
{
    QWidget* focus = QApplication::focusWidget();
    if (!focus || !isAncestorOf(focus))
        return true;
    const LeaveCheck* check = FindLeaveCheck(focus);
    return !check || RunLeaveCheck(*check);
}

namespace {
bool IsPlainEnter(const QKeyEvent* key)
{
    return (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter)
           && !(key->modifiers() & ~Qt::KeypadModifier);
}
} // namespace

bool TVisualFormView::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::KeyPress && IsPlainEnter(static_cast<QKeyEvent*>(event))) {
        QComboBox* combo = qobject_cast<QComboBox*>(watched);
        if (!combo && qobject_cast<QLineEdit*>(watched))
            combo = qobject_cast<QComboBox*>(watched->parent());
        if (combo && combo->isEditable() && isAncestorOf(combo) && !combo->view()->isVisible()) {
            if (QPushButton* button = DefaultButton()) {
                button->click();
                return true;
            }
        }
    }
    if (event->type() == QEvent::FocusOut && !m_returningFocus) {
        const Qt::FocusReason reason = static_cast<QFocusEvent*>(event)->reason();
        // Focus that leaves for a message box, a menu or another window is not the user
        // moving on from the field.
        if (reason != Qt::ActiveWindowFocusReason && reason != Qt::PopupFocusReason && FindLeaveCheck(watched)) {
            // Checked once the focus change is over, so that the message and the focus
            // going back do not run inside it.
            QPointer<QWidget> field(static_cast<QWidget*>(watched));
            QTimer::singleShot(0, this, [this, field] {
                const LeaveCheck* check = field ? FindLeaveCheck(field) : nullptr;
                // A page switched away from was checked before it went (CanLeavePage).
                if (check && field->isVisible())
                    RunLeaveCheck(*check);
            });
        }
    }
    return QWidget::eventFilter(watched, event);
}

QPushButton* TVisualFormView::DefaultButton() const
{
    for (QPushButton* button : findChildren<QPushButton*>()) {
        if (button->isDefault() && button->isVisibleTo(this) && button->isEnabled())
            return button;
    }
    return nullptr;
}

void TVisualFormView::keyPressEvent(QKeyEvent* event)
{
    if (!IsPlainEnter(event)) {
        QWidget::keyPressEvent(event);
        return;
    }
    // A key the focused control left alone comes here: multi-line fields keep theirs as a
    // line break and never pass it on.
    QWidget* focus = QApplication::focusWidget();
    QPushButton* target = nullptr;
    if (auto button = qobject_cast<QPushButton*>(focus); button && isAncestorOf(button) && button->isEnabled())
        target = button;
    else if (!qobject_cast<QPlainTextEdit*>(focus) && !qobject_cast<QTextEdit*>(focus))
        target = DefaultButton();
    if (!target) {
        QWidget::keyPressEvent(event);
        return;
    }
    event->accept();
    target->click();
}

bool TVisualFormView::event(QEvent* event)
{
    // As in a dialog, Tab leaves a multi-line field for the next control (Ctrl+Tab is
    // the tab windows'); otherwise a keyboard user could not get past Notes.
    if (event->type() == QEvent::ChildPolished) {
        QObject* child = static_cast<QChildEvent*>(event)->child();
        if (auto edit = qobject_cast<QPlainTextEdit*>(child))
            edit->setTabChangesFocus(true);
        // An editable combo keeps Enter to itself (it would add the typed text to its
        // list); on a form page Enter means the default button there too.
        if (auto combo = qobject_cast<QComboBox*>(child); combo && combo->isEditable()) {
            combo->installEventFilter(this);
            if (combo->lineEdit())
                combo->lineEdit()->installEventFilter(this);
        }
    }
    return QWidget::event(event);
}

void TVisualFormView::ActivateFirstControl()
{
    if (auto frame = qobject_cast<TFrameWnd*>(window()))
        frame->SetActiveView(this);
    framework::FocusFirstTabStop(this);
}
