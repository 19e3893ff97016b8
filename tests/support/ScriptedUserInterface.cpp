#include "support/ScriptedUserInterface.h"

#include <gtest/gtest.h>

namespace quorin::test {

ScriptedUserInterface::~ScriptedUserInterface()
{
    EXPECT_TRUE(m_answers.empty()) << m_answers.size() << " scripted answer(s) never asked for";
    EXPECT_TRUE(m_saveFiles.empty()) << "scripted save-file choice(s) never used";
    EXPECT_TRUE(m_folders.empty()) << "scripted folder choice(s) never used";
    EXPECT_EQ(m_waitDepth, 0) << "wait cursor left on";
    EXPECT_FALSE(m_progressOpen) << "progress left open";
}

void ScriptedUserInterface::BeginProgress(int)
{
    if (m_progressOpen)
        ADD_FAILURE() << "progress begun while open";
    m_progressOpen = true;
}

bool ScriptedUserInterface::StepProgress(const QString& text)
{
    if (!m_progressOpen)
        ADD_FAILURE() << "progress step outside Begin/End: " << text.toStdString();
    m_progressTexts << text;
    return m_cancelAtStep > 0 && m_progressTexts.size() == m_cancelAtStep;
}

void ScriptedUserInterface::EndProgress()
{
    if (!m_progressOpen)
        ADD_FAILURE() << "progress ended without Begin";
    m_progressOpen = false;
}

UserInterface::Answer ScriptedUserInterface::MessageBox(const QString& text, Icon icon, Buttons buttons)
{
    m_messages.push_back({text, icon, buttons});
    if (buttons == Buttons::Ok)
        return Answer::Ok;
    if (m_answers.empty()) {
        ADD_FAILURE() << "unexpected question: " << text.toStdString();
        return Answer::No;
    }
    const Answer a = m_answers.front();
    m_answers.pop_front();
    return a;
}

void ScriptedUserInterface::BeginWaitCursor()
{
    ++m_waitDepth;
    ++m_waitShown;
}

void ScriptedUserInterface::EndWaitCursor()
{
    if (m_waitDepth == 0)
        ADD_FAILURE() << "wait cursor ended more often than begun";
    else
        --m_waitDepth;
}

int ScriptedUserInterface::RunDialog(Dialog dialog)
{
    if (m_dialogRunner)
        return m_dialogRunner(dialog);
    ADD_FAILURE() << "unexpected dialog " << static_cast<int>(dialog);
    return 2;
}

QString ScriptedUserInterface::GetOpenFileName(const QString& defaultExtension)
{
    ADD_FAILURE() << "unexpected open-file dialog (." << defaultExtension.toStdString() << ")";
    return {};
}

QString ScriptedUserInterface::GetSaveFileName(const QString& defaultExtension, const QString& defaultName,
                                               const QStringList& filters)
{
    m_saveRequests.push_back({defaultExtension, defaultName, filters});
    if (m_saveFiles.empty()) {
        ADD_FAILURE() << "unexpected save-file dialog (" << defaultName.toStdString() << ")";
        return {};
    }
    const QString f = m_saveFiles.front();
    m_saveFiles.pop_front();
    return f;
}

QString ScriptedUserInterface::GetFolderName(const QString& title, const QString& startFolder)
{
    m_folderStarts << startFolder;
    if (m_folders.empty()) {
        ADD_FAILURE() << "unexpected folder chooser (" << title.toStdString() << ")";
        return {};
    }
    const QString folder = m_folders.front();
    m_folders.pop_front();
    return folder;
}

QStringList ScriptedUserInterface::Texts() const
{
    QStringList out;
    for (const Message& m : m_messages)
        out << m.text;
    return out;
}

} // namespace quorin::test
