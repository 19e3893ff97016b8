#pragma once
// The first start's choice as a dialog: a demo registry, an empty one (its administrator
// and password typed twice) or a server, with Continue and Quit. Only the fields of the
// chosen option take input. Also how the first start and the first login ask and tell
// the user with the program's boxes and progress display.

#include "app/FirstRun.h"
#include "document/FirstLogin.h"

#include <QDialog>

#include <optional>

class QButtonGroup;
class QLineEdit;
class QRadioButton;
class QVBoxLayout;

class FirstStartDialog : public QDialog {
    Q_OBJECT
public:
    // Opens on `offer.last`: the demo the first time, what was typed when shown again.
    explicit FirstStartDialog(const quorin::FirstStartOffer& offer, QWidget* parent = nullptr);

    quorin::FirstStartChoice Choice() const;

    // Continue: what cannot be carried out as typed is told, and the dialog stays.
    void accept() override;

protected:
    void showEvent(QShowEvent* event) override;

private:
    void AddChoice(QVBoxLayout* layout, quorin::FirstStartKind kind, const QString& text);
    void Prefill(const quorin::FirstStartChoice& choice);
    quorin::FirstStartKind ChosenKind() const;
    void EnableChosenFields();
    void FocusTheFault();

    QButtonGroup* m_choices = nullptr;
    QWidget* m_emptyFields = nullptr;
    QWidget* m_serverFields = nullptr;
    QLineEdit* m_admin = nullptr;
    QLineEdit* m_password = nullptr;
    QLineEdit* m_confirmation = nullptr;
    QLineEdit* m_server = nullptr;
    bool m_focused = false;
};

namespace quorin {

// The dialog, modal; nullopt for Quit (Escape, closing).
std::optional<FirstStartChoice> ChooseFirstStart(const FirstStartOffer& offer);

// Message boxes, and the demo's work under a progress dialog with Cancel.
FirstStartPrompts QtFirstStartPrompts();

// The first login's questions: message boxes and password fields.
FirstRunPrompts QtFirstRunPrompts();

} // namespace quorin
