// File New: the first connects, later ones offer to save and clear; a first login with a
// temporary password changes it.

#include "DocumentFixture.h"

#include "document/FirstLogin.h"

#include <filesystem>

using quorin::UserInterface;
using quorin::test::DocumentTest;
using quorin::test::ScriptedUserInterface;

TEST_F(DocumentTest, TheFirstNewConnectsAndALaterOneWithNothingChangedClearsWithoutAQuestion)
{
    EXPECT_EQ(ui.Title(), "Quorin Demo");
    doc->m_subject.Lastname = "Kept until now";
    ASSERT_TRUE(doc->OnNewDocument());
    EXPECT_TRUE(ui.Messages().empty());
    EXPECT_EQ(doc->m_subject.Lastname, "");
    EXPECT_EQ(ui.PagesBroughtForward(),
              (std::vector<UserInterface::Page>{UserInterface::Page::Chart, UserInterface::Page::Subject}));
}

TEST_F(DocumentTest, NewAnsweredYesKeepsTheSubjectWhenTheSaveCannotStoreIt)
{
    doc->m_subject = quorin::test::DistinctSubject();
    doc->m_subject.DateInitial = "";
    doc->m_subject.Modified = 1;
    ui.AnswerNext(UserInterface::Answer::Yes);
    ASSERT_TRUE(doc->OnNewDocument());
    EXPECT_EQ(ui.Texts(), (QStringList{"Save Current Subject?",
                                       "You must enter a Last Name, First Name, Birth Date and Initial "
                                       "Consent date before saving."}));
    // What was typed is still there to be completed, and still marked as unsaved.
    EXPECT_EQ(doc->m_subject.Lastname, "Lee");
    EXPECT_EQ(doc->m_subject.Modified, 1);
    EXPECT_EQ(Count("Quorin", "select count(*) as num from subjects"), 0);
}

TEST(NewDocument, AFailedLoginSaysSoAndLeavesTheDocumentUnconnected)
{
    ScriptedUserInterface ui;
    CQuorinDoc doc(ui);
    doc.m_strServer = QString::fromStdString(
        (std::filesystem::temp_directory_path() / "quorin-core-tests" / "no-such-server").string());
    doc.m_strUserName = "nobody";
    doc.m_strPassword = "wrong";
    EXPECT_TRUE(doc.OnNewDocument());
    EXPECT_FALSE(doc.m_db.IsConnected());
    EXPECT_EQ(ui.Title(), "Quorin Demo");
    EXPECT_TRUE(doc.OnNewDocument()); // a later New tries again with the same values
    EXPECT_EQ(ui.Texts(), (QStringList{"Login Failed!", "Login Failed!"}));
    EXPECT_EQ(ui.Messages()[0].icon, UserInterface::Icon::Stop);
}

// The first pair of new passwords differs, the next is too weak for the policy, the
// third is taken; then only the new password logs in.
TEST_F(DocumentTest, FirstLoginWithATemporaryPasswordChangesIt)
{
    registry.ExecRaw("master", "UPDATE logins SET must_change = 1, check_expiration = 1 WHERE name = 'staff'");
    QStringList told;
    QStringList answers{"Chosen-Pass-7", "Chosen-Pass-8", "weak", "weak", "Chosen-Pass-7", "Chosen-Pass-7"};
    quorin::FirstRunPrompts prompts;
    prompts.askPassword = [&](const QString&) -> std::optional<QString> { return answers.takeFirst(); };
    prompts.tell = [&](const QString& message) { told << message; };
    const QString server = QString::fromStdString(registry.Folder());
    QString password = QString::fromLatin1(quorin::test::kTestPassword);
    EXPECT_EQ(quorin::CheckFirstLogin(server, "staff", password, prompts), quorin::FirstLoginResult::Connected);
    EXPECT_EQ(password, "Chosen-Pass-7");
    EXPECT_TRUE(answers.isEmpty());
    EXPECT_EQ(told, (QStringList{"The two passwords differ.",
                                 "Login failed for user 'staff'. Reason: Password change failed. The password does not "
                                 "meet the operating system policy requirements because it is not complex enough."}));
    EXPECT_EQ(quorin::CheckFirstLogin(server, "staff", password, prompts), quorin::FirstLoginResult::Connected);
    QString old = QString::fromLatin1(quorin::test::kTestPassword);
    EXPECT_EQ(quorin::CheckFirstLogin(server, "staff", old, prompts), quorin::FirstLoginResult::Refused);
    EXPECT_EQ(told.size(), 2);
}
