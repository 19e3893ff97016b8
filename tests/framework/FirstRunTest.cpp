// The first start without a registry: the offer, the password rules and what is created.
#include "app/FirstRun.h"

#include "dalport/Registry.h"

#include <QFileInfo>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <deque>

namespace {

class FirstRunTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(folder.isValid());
        registry = folder.path() + QStringLiteral("/registry");
        m_previous = qgetenv("QUORIN_REGISTRY");
        qputenv("QUORIN_REGISTRY", registry.toLocal8Bit());
        prompts.askYesNo = [this](const QString& question) {
            questions << question;
            return yes;
        };
        prompts.askPassword = [this](const QString& prompt) -> std::optional<QString> {
            passwordPrompts << prompt;
            if (typed.empty())
                return std::nullopt;
            const QString next = typed.front();
            typed.pop_front();
            return next;
        };
        prompts.tell = [this](const QString& message) { told << message; };
    }
    void TearDown() override { qputenv("QUORIN_REGISTRY", m_previous); }

    bool RegistryExists() const { return QFileInfo::exists(registry + QStringLiteral("/master.db")); }

    QTemporaryDir folder;
    QString registry;
    quorin::FirstRunPrompts prompts;
    bool yes = true;
    std::deque<QString> typed;
    QStringList questions, passwordPrompts, told;

private:
    QByteArray m_previous;
};

TEST_F(FirstRunTest, NamedServerOrExistingRegistryAsksNothing)
{
    QString password;
    EXPECT_EQ(quorin::OfferEmptyRegistry(QStringLiteral("sqlhost"), QStringLiteral("admin"), password, prompts),
              quorin::FirstRunResult::NotNeeded);
    EXPECT_TRUE(questions.isEmpty());
}

TEST_F(FirstRunTest, DecliningCreatesNothing)
{
    yes = false;
    QString password = QStringLiteral("secret");
    EXPECT_EQ(quorin::OfferEmptyRegistry(QString(), QStringLiteral("admin"), password, prompts),
              quorin::FirstRunResult::Declined);
    ASSERT_EQ(questions.size(), 1);
    EXPECT_TRUE(questions[0].contains(QStringLiteral("admin")));
    EXPECT_FALSE(RegistryExists());
}

TEST_F(FirstRunTest, EmptyPasswordIsAskedTwiceAndMustMatch)
{
    QString password;
    typed = {QStringLiteral("one"), QStringLiteral("two")};
    EXPECT_EQ(quorin::OfferEmptyRegistry(QString(), QStringLiteral("admin"), password, prompts),
              quorin::FirstRunResult::Declined);
    EXPECT_EQ(passwordPrompts.size(), 2);
    EXPECT_EQ(told.size(), 1);
    EXPECT_FALSE(RegistryExists());

    typed = {QString(), QString()};
    EXPECT_EQ(quorin::OfferEmptyRegistry(QString(), QStringLiteral("admin"), password, prompts),
              quorin::FirstRunResult::Declined);
    EXPECT_EQ(told.size(), 2); // never an administrator without a password
    EXPECT_FALSE(RegistryExists());
    EXPECT_TRUE(password.isEmpty());
}

TEST_F(FirstRunTest, AcceptedOfferCreatesTheRegistryWithTheChosenPassword)
{
    QString password;
    typed = {QStringLiteral("Fresh-Start-1"), QStringLiteral("Fresh-Start-1")};
    EXPECT_EQ(quorin::OfferEmptyRegistry(QString(), QStringLiteral("labadmin"), password, prompts),
              quorin::FirstRunResult::Created);
    EXPECT_TRUE(RegistryExists());
    EXPECT_EQ(password, QStringLiteral("Fresh-Start-1"));
    EXPECT_TRUE(QFileInfo::exists(registry + QStringLiteral("/Quorin.db")));
    // A second start finds it and asks nothing.
    EXPECT_EQ(quorin::OfferEmptyRegistry(QString(), QStringLiteral("labadmin"), password, prompts),
              quorin::FirstRunResult::NotNeeded);
    EXPECT_EQ(questions.size(), 1);
}

} // namespace
