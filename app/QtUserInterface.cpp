#include "app/QtUserInterface.h"

#include "app/CMainFrame.h"
#include "app/DialogRegistry.h"
#include "framework/MessageBox.h"
#include "framework/WaitCursor.h"

#include <QFileDialog>

namespace quorin {

UserInterface::Answer QtUserInterface::MessageBox(const QString& text, Icon icon, Buttons buttons)
{
    framework::MessageRequest request;
    request.text = text;
    request.icon = icon == Icon::Stop          ? framework::MessageIcon::Stop
                   : icon == Icon::Information ? framework::MessageIcon::Information
                                               : framework::MessageIcon::Default;
    request.buttons = buttons == Buttons::YesNo ? framework::MessageButtons::YesNo : framework::MessageButtons::Ok;
    switch (framework::ShowMessage(m_frame, request)) {
    case framework::MessageResult::Yes: return Answer::Yes;
    case framework::MessageResult::No: return Answer::No;
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

void QtUserInterface::SetDocumentTitle(const QString& title)
{
    if (m_frame)
        m_frame->SetDocumentTitle(title);
}

} // namespace quorin
