#pragma once
// The program's main frame on a test's document, opened as the application opens it.

#include "app/CDocumentCommands.h"
#include "app/CMainFrame.h"
#include "framework/CreateContext.h"

#include <QAction>
#include <QCoreApplication>
#include <QTest>

#include <memory>

namespace quorin::test {

// The frame with the document's commands as its target and its workspace created. False,
// with nothing left open, when the workspace could not be created.
inline bool OpenMainFrame(std::unique_ptr<CMainFrame>& frame, std::unique_ptr<CDocumentCommands>& commands,
                          CQuorinDoc& document, CCreateContext& context)
{
    frame = std::make_unique<CMainFrame>();
    commands = std::make_unique<CDocumentCommands>(document);
    frame->SetDocumentTarget(commands.get());
    if (frame->OnCreateClient(&context))
        return true;
    frame.reset();
    commands.reset();
    return false;
}

// Shown at the given size and made the active window, as the user finds it.
inline bool ShowMainFrame(CMainFrame& frame, int width = 1100, int height = 800)
{
    frame.resize(width, height);
    frame.show();
    frame.activateWindow();
    return QTest::qWaitForWindowActive(&frame);
}

// A main frame opened on a document, for the tests of one command's wiring.
struct CommandFrame {
    // The command's action, its state brought up to date; nullptr when the frame did not open.
    QAction* Action(CQuorinDoc& document, int id)
    {
        context.m_pCurrentDoc = &document;
        if (!frame && !OpenMainFrame(frame, commands, document, context))
            return nullptr;
        frame->UpdateCommandUI();
        return frame->CommandAction(id);
    }
    void Close()
    {
        frame.reset();
        commands.reset();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }

    CCreateContext context;
    std::unique_ptr<CMainFrame> frame;
    std::unique_ptr<CDocumentCommands> commands;
};

} // namespace quorin::test
