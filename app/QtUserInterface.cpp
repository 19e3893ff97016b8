#include "app/QtUserInterface.h"

#include "app/CMainFrame.h"
#include "registration/DialogRegistry.h"
#include "framework/BackgroundProgress.h"
#include "framework/MessageBox.h"
#include "framework/WaitCursor.h"

#include <QApplication>
#include <QCoreApplication>
#include <algorithm>
#include <QFileDialog>

namespace quorin {

UserInterface::Answer QtUserInterface::MessageBox(const QString& text, Icon icon, Buttons buttons)
{
    framework::MessageRequest request;
    request.text = text;
    request.icon = icon == Icon::Stop          ? framework::MessageIcon::Stop
                   : icon == Icon::Information ? framework::MessageIcon::Information
                                               : framework::MessageIcon::Default;
    request.buttons = buttons == Buttons::YesNo         ? framework::MessageButtons::YesNo
                      : buttons == Buttons::YesNoCancel ? framework::MessageButtons::YesNoCancel
                                                        : framework::MessageButtons::Ok;
    switch (framework::ShowMessage(m_frame, request)) {
    case framework::MessageResult::Yes: return Answer::Yes;
    case framework::MessageResult::No: return Answer::No;
    case framework::MessageResult::Cancel: return Answer::Cancel;
    case framework::MessageResult::Ok: break;
    }
    return Answer::Ok;
}

void QtUserInterface::BeginWaitCursor()
{
    CWaitCursor::Begin();
}

void QtUserInterface::EndWaitCursor()
{
    CWaitCursor::End();
}

unsigned QtUserInterface::NodeId(Page page)
{
    switch (page) {
    case Page::Subject: return 5;
    case Page::Audiogram: return 2;
    case Page::Chart: return 3;
    case Page::AudData: return 4;
    case Page::Comments: return 7;
    case Page::CiData: return 8;
    case Page::Sll: return 9;
    case Page::Other: return 6;
    }
    return 0;
}

void QtUserInterface::BringForward(Page page)
{
    if (!m_frame)
        return;
    m_frame->m_wndFramework.BringForward(m_frame->m_wndFramework.FindNode(NodeId(page)));
}

int QtUserInterface::RunDialog(Dialog dialog)
{
    if (!m_document)
        return 2;
    return RunRegisteredDialog(dialog, m_frame, *m_document);
}

QString QtUserInterface::GetOpenFileName(const QString& defaultExtension)
{
    QFileDialog dialog(m_frame, QStringLiteral("Open"));
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setFileMode(QFileDialog::ExistingFile);
    dialog.setDefaultSuffix(defaultExtension);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return QString();
    return dialog.selectedFiles().first();
}

QString QtUserInterface::GetSaveFileName(const QString& defaultExtension, const QString& defaultName,
                                         const QStringList& filters)
{
    QFileDialog dialog(m_frame, QStringLiteral("Save As"));
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    dialog.setDefaultSuffix(defaultExtension);
    dialog.setNameFilters(filters);
    dialog.selectFile(defaultName);
    // Replacing an existing file is asked first (the dialog's overwrite prompt is on).
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return QString();
    return dialog.selectedFiles().first();
}

QString QtUserInterface::GetFolderName(const QString& title, const QString& startFolder)
{
    QFileDialog dialog(m_frame, title);
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setFileMode(QFileDialog::Directory);
    dialog.setOption(QFileDialog::ShowDirsOnly);
    dialog.setDirectory(startFolder);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return QString();
    return dialog.selectedFiles().first();
}

void QtUserInterface::BeginProgress(int total)
{
    EndProgress();
    m_progressStep = 0;
    auto* dialog = new QProgressDialog(m_frame);
    dialog->setWindowTitle(QStringLiteral("Quorin"));
    dialog->setWindowModality(Qt::WindowModal);
    // The dialog's own button: a replacement would add a second Escape shortcut, and two
    // make the key ambiguous, so it would do nothing.
    dialog->setCancelButtonText(QStringLiteral("Cancel"));
    dialog->setAutoClose(false);
    dialog->setAutoReset(false);
    dialog->setMinimumDuration(0);
    dialog->setRange(0, total > 0 ? total : 1);
    dialog->setValue(0);
    dialog->setAccessibleName(QStringLiteral("Progress"));
    // Escape closes a dialog without a word; here it means Cancel.
    QObject::connect(dialog, &QDialog::rejected, dialog, &QProgressDialog::cancel);
    m_progress = dialog;
    dialog->show();
}

bool QtUserInterface::StepProgress(const QString& text)
{
    if (!m_progress)
        return false;
    m_progress->setLabelText(text);
    m_progress->setValue(std::min(m_progressStep, m_progress->maximum()));
    ++m_progressStep;
    // The work runs on this thread: a click on Cancel (or Escape) is seen only here,
    // between subjects.
    QCoreApplication::processEvents();
    return m_progress && m_progress->wasCanceled();
}

void QtUserInterface::EndProgress()
{
    if (!m_progress)
        return;
    QProgressDialog* dialog = m_progress;
    m_progress = nullptr;
    dialog->hide();
    dialog->deleteLater();
}

void QtUserInterface::RunInBackground(BackgroundWork& work)
{
    // Over the window the work was started from (a report), else over the frame.
    QWidget* parent = QApplication::activeModalWidget();
    framework::RunWithProgress(parent ? parent : m_frame.data(), work);
}

void QtUserInterface::SetDocumentTitle(const QString& title)
{
    if (m_frame)
        m_frame->SetDocumentTitle(title);
}

} // namespace quorin
