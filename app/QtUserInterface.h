#pragma once
// What the document shows or asks, done with Qt: message boxes with the "Quorin"
// caption, the wait cursor, bringing workspace pages forward, the registered dialogs,
// the open-file, save-file and folder dialogs and the frame's caption.

#include "document/UserInterface.h"

#include "app/CMainFrame.h"

#include <QPointer>
#include <QProgressDialog>

class CQuorinDoc;

namespace quorin {

class QtUserInterface : public UserInterface {
public:
    void SetMainFrame(CMainFrame* frame) { m_frame = frame; }
    void SetDocument(CQuorinDoc* document) { m_document = document; }

    Answer MessageBox(const QString& text, Icon icon, Buttons buttons) override;
    void BeginWaitCursor() override;
    void EndWaitCursor() override;
    void BringForward(Page page) override;
    int RunDialog(Dialog dialog) override;
    QString GetOpenFileName(const QString& defaultExtension) override;
    QString GetSaveFileName(const QString& defaultExtension, const QString& defaultName,
                            const QStringList& filters) override;
    QString GetFolderName(const QString& title, const QString& startFolder) override;
    void SetDocumentTitle(const QString& title) override;
    // A window-modal progress dialog over the frame with Cancel (Escape cancels too).
    void BeginProgress(int total) override;
    bool StepProgress(const QString& text) override;
    void EndProgress() override;
    // The work on a thread of its own under a progress dialog over the active window.
    void RunInBackground(BackgroundWork& work) override;
    // The open progress dialog, or null.
    QProgressDialog* ProgressDialog() const { return m_progress; }

    // The workspace node that shows a page.
    static unsigned NodeId(Page page);

private:
    QPointer<CMainFrame> m_frame;
    CQuorinDoc* m_document = nullptr;
    QPointer<QProgressDialog> m_progress;
    int m_progressStep = 0;
};

} // namespace quorin
