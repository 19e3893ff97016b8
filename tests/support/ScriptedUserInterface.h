#pragma once
// The user interface of the tests: answers given in order, every text and icon
// recorded. A question nobody scripted fails the test, and so does an answer left over.

#include "document/UserInterface.h"
#include "support/QtPrinting.h"

#include <QString>
#include <QStringList>
#include <deque>
#include <functional>
#include <vector>

namespace quorin::test {

class ScriptedUserInterface : public UserInterface {
public:
    struct Message {
        QString text;
        Icon icon = Icon::Default;
        Buttons buttons = Buttons::Ok;
    };

    ~ScriptedUserInterface() override;

    // The answer to the next Yes/No question.
    void AnswerNext(Answer answer) { m_answers.push_back(answer); }
    // The path the next save-file dialog returns ("" is Cancel).
    void SaveFileNext(const QString& path) { m_saveFiles.push_back(path); }
    // The folder the next folder chooser returns ("" is Cancel).
    void ChooseFolderNext(const QString& folder) { m_folders.push_back(folder); }
    // Dialogs run through the handler (widget tests that open real windows by their
    // commands); without one, a dialog fails the test.
    void SetDialogRunner(std::function<int(Dialog)> runner) { m_dialogRunner = std::move(runner); }
    // Background work runs through the handler (a widget test's progress dialog) instead
    // of simply here.
    void SetBackgroundRunner(std::function<void(BackgroundWork&)> runner) { m_backgroundRunner = std::move(runner); }

    struct SaveRequest {
        QString defaultExtension;
        QString defaultName;
        QStringList filters;
    };

    Answer MessageBox(const QString& text, Icon icon, Buttons buttons) override;
    void BeginWaitCursor() override;
    void EndWaitCursor() override;
    void BringForward(Page page) override { m_pages.push_back(page); }
    int RunDialog(Dialog dialog) override;
    QString GetOpenFileName(const QString& defaultExtension) override;
    QString GetSaveFileName(const QString& defaultExtension, const QString& defaultName,
                            const QStringList& filters) override;
    QString GetFolderName(const QString& title, const QString& startFolder) override;
    void SetDocumentTitle(const QString& title) override { m_title = title; }
    void BeginProgress(int total) override;
    bool StepProgress(const QString& text) override;
    void EndProgress() override;
    void RunInBackground(BackgroundWork& work) override
    {
        if (m_backgroundRunner)
            m_backgroundRunner(work);
        else
            work.Run();
    }

    // The user cancels the progress at its n-th step (1 = the first, counted over the
    // whole test); 0 never.
    void CancelAtStep(int n) { m_cancelAtStep = n; }
    // Every progress step's text, in order.
    const QStringList& ProgressTexts() const { return m_progressTexts; }
    bool ProgressOpen() const { return m_progressOpen; }

    const std::vector<Message>& Messages() const { return m_messages; }
    QStringList Texts() const;
    void ClearMessages() { m_messages.clear(); }
    const std::vector<Page>& PagesBroughtForward() const { return m_pages; }
    const QString& Title() const { return m_title; }
    const std::vector<SaveRequest>& SaveRequests() const { return m_saveRequests; }
    // The folder each folder chooser opened at, in order.
    const QStringList& FolderStarts() const { return m_folderStarts; }
    int WaitCursorDepth() const { return m_waitDepth; }
    int WaitCursorShown() const { return m_waitShown; }

private:
    std::deque<Answer> m_answers;
    std::deque<QString> m_saveFiles;
    std::vector<SaveRequest> m_saveRequests;
    std::deque<QString> m_folders;
    QStringList m_folderStarts;
    std::function<int(Dialog)> m_dialogRunner;
    std::function<void(BackgroundWork&)> m_backgroundRunner;
    std::vector<Message> m_messages;
    std::vector<Page> m_pages;
    QString m_title;
    int m_waitDepth = 0;
    int m_waitShown = 0;
    QStringList m_progressTexts;
    int m_cancelAtStep = 0;
    bool m_progressOpen = false;
};

} // namespace quorin::test
