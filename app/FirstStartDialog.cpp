#include "app/FirstStartDialog.h"

#include "document/UserInterface.h"
#include "framework/BackgroundProgress.h"
#include "framework/MessageBox.h"

#include <QButtonGroup>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QInputDialog>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QStyle>
#include <QVBoxLayout>

using quorin::FirstStartKind;

namespace {

// An option's text and fields start where its choice's text does.
int ChoiceIndent(const QWidget* widget)
{
    const QStyle* style = widget->style();
    return style->pixelMetric(QStyle::PM_ExclusiveIndicatorWidth) +
           style->pixelMetric(QStyle::PM_RadioButtonLabelSpacing);
}

// A labelled field whose name for a screen reader is its label's, without the colon (as
// the login dialog's fields are named).
void AddField(QFormLayout* form, const QString& name, QLineEdit* field)
{
    form->addRow(name + QLatin1Char(':'), field);
    field->setAccessibleName(name);
}

QLineEdit* PasswordField(QWidget* parent)
{
    auto* field = new QLineEdit(parent);
    field->setEchoMode(QLineEdit::Password);
    return field;
}

} // namespace

FirstStartDialog::FirstStartDialog(const quorin::FirstStartOffer& offer, QWidget* parent)
    : QDialog(parent), m_choices(new QButtonGroup(this))
{
    setWindowTitle(framework::MessageCaption());
    const int indent = ChoiceIndent(this);
    auto* layout = new QVBoxLayout(this);
    layout->setSizeConstraint(QLayout::SetFixedSize);
    auto* intro = new QLabel(
        QStringLiteral("There is no registry in %1 yet.\nHow would you like to start?").arg(offer.folder), this);
    intro->setTextInteractionFlags(Qt::TextSelectableByMouse);
    layout->addWidget(intro);

    // Created in the order Tab walks them.
    AddChoice(layout, FirstStartKind::Demo, QStringLiteral("Create a &demo registry"));
    auto* demoNote = new QLabel(QStringLiteral("Made-up subjects to try Quorin with. Log in as %1 with the "
                                               "password %2.")
                                    .arg(offer.demoLogin, offer.demoPassword),
                                this);
    demoNote->setTextInteractionFlags(Qt::TextSelectableByMouse);
    demoNote->setContentsMargins(indent, 0, 0, 0);
    layout->addWidget(demoNote);

    AddChoice(layout, FirstStartKind::Empty, QStringLiteral("Create an &empty registry"));
    m_emptyFields = new QWidget(this);
    auto* emptyForm = new QFormLayout(m_emptyFields);
    emptyForm->setContentsMargins(indent, 0, 0, 0);
    m_admin = new QLineEdit(m_emptyFields);
    m_password = PasswordField(m_emptyFields);
    m_confirmation = PasswordField(m_emptyFields);
    AddField(emptyForm, QStringLiteral("Administrator"), m_admin);
    AddField(emptyForm, QStringLiteral("Password"), m_password);
    AddField(emptyForm, QStringLiteral("Password again"), m_confirmation);
    emptyForm->addRow(QString(), new QLabel(QStringLiteral("At least 8 characters, of three kinds: capitals, small "
                                                           "letters, digits, other signs."),
                                            m_emptyFields));
    layout->addWidget(m_emptyFields);

    AddChoice(layout, FirstStartKind::Server, QStringLiteral("&Use a server"));
    m_serverFields = new QWidget(this);
    auto* serverForm = new QFormLayout(m_serverFields);
    serverForm->setContentsMargins(indent, 0, 0, 0);
    m_server = new QLineEdit(m_serverFields);
    m_server->setPlaceholderText(QStringLiteral("A SQL Server's name, or the folder of a registry"));
    m_server->setMinimumWidth(m_server->fontMetrics().horizontalAdvance(m_server->placeholderText()) + indent);
    AddField(serverForm, QStringLiteral("Server"), m_server);
    // The two options' fields start at one edge.
    serverForm->labelForField(m_server)->setMinimumWidth(emptyForm->labelForField(m_confirmation)->sizeHint().width());
    layout->addWidget(m_serverFields);

    auto* buttons = new QDialogButtonBox(this);
    buttons->addButton(QStringLiteral("Continue"), QDialogButtonBox::AcceptRole)->setDefault(true);
    buttons->addButton(QStringLiteral("Quit"), QDialogButtonBox::RejectRole);
    connect(buttons, &QDialogButtonBox::accepted, this, &FirstStartDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    layout->addWidget(buttons);

    connect(m_choices, &QButtonGroup::idToggled, this, [this](int, bool) { EnableChosenFields(); });
    Prefill(offer.last);
}

void FirstStartDialog::AddChoice(QVBoxLayout* layout, FirstStartKind kind, const QString& text)
{
    auto* choice = new QRadioButton(text, this);
    m_choices->addButton(choice, static_cast<int>(kind));
    layout->addWidget(choice);
}

void FirstStartDialog::Prefill(const quorin::FirstStartChoice& choice)
{
    m_admin->setText(choice.admin);
    m_password->setText(choice.password);
    m_confirmation->setText(choice.confirmation);
    m_server->setText(choice.server);
    m_choices->button(static_cast<int>(choice.kind))->setChecked(true);
    EnableChosenFields();
}

FirstStartKind FirstStartDialog::ChosenKind() const
{
    return static_cast<FirstStartKind>(m_choices->checkedId());
}

void FirstStartDialog::EnableChosenFields()
{
    m_emptyFields->setEnabled(ChosenKind() == FirstStartKind::Empty);
    m_serverFields->setEnabled(ChosenKind() == FirstStartKind::Server);
}

quorin::FirstStartChoice FirstStartDialog::Choice() const
{
    return {ChosenKind(), m_admin->text(), m_password->text(), m_confirmation->text(), m_server->text()};
}

void FirstStartDialog::accept()
{
    if (const auto problem = quorin::FirstStartChoiceProblem(Choice())) {
        framework::ShowMessage(this, {*problem, framework::MessageIcon::Stop, framework::MessageButtons::Ok});
        FocusTheFault();
        return;
    }
    QDialog::accept();
}

void FirstStartDialog::FocusTheFault()
{
    QLineEdit* field = m_server;
    if (ChosenKind() == FirstStartKind::Empty)
        field = m_admin->text().trimmed().isEmpty() ? m_admin : m_password;
    field->setFocus(Qt::OtherFocusReason);
    field->selectAll();
}

void FirstStartDialog::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    // The keyboard starts on the choice; the arrow keys move between the choices.
    if (!m_focused) {
        m_focused = true;
        m_choices->checkedButton()->setFocus(Qt::OtherFocusReason);
    }
}

namespace quorin {

std::optional<FirstStartChoice> ChooseFirstStart(const FirstStartOffer& offer)
{
    FirstStartDialog dialog(offer);
    if (dialog.exec() != QDialog::Accepted)
        return std::nullopt;
    return dialog.Choice();
}

FirstStartPrompts QtFirstStartPrompts()
{
    FirstStartPrompts prompts;
    prompts.tell = [](const QString& message) {
        framework::ShowMessage(message, framework::MessageIcon::Stop, framework::MessageButtons::Ok);
    };
    prompts.runWithProgress = [](BackgroundWork& work) { framework::RunWithProgress(nullptr, work); };
    return prompts;
}

FirstRunPrompts QtFirstRunPrompts()
{
    FirstRunPrompts prompts;
    prompts.askYesNo = [](const QString& question) {
        return framework::ShowMessage(question, framework::MessageIcon::Default, framework::MessageButtons::YesNo) ==
               framework::MessageResult::Yes;
    };
    prompts.askPassword = [](const QString& prompt) -> std::optional<QString> {
        bool ok = false;
        const QString text = QInputDialog::getText(nullptr, framework::MessageCaption(), prompt,
                                                   QLineEdit::Password, QString(), &ok);
        if (!ok)
            return std::nullopt;
        return text;
    };
    prompts.tell = [](const QString& message) {
        framework::ShowMessage(message, framework::MessageIcon::Stop, framework::MessageButtons::Ok);
    };
    return prompts;
}

} // namespace quorin
