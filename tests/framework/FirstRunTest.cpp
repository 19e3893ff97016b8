// The first start without a registry: the offer, the password rules and what is created.
#include "app/FirstRun.h"

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
        qputenv("QUORIN_REGISTRY", registry.toLocal8Bit());
        prompts.askYesNo = [this](const QString& question) {
            questions << question;
            return yes;
        };
        prompts.askPassword = [this](const QString&) -> std::optional<QString> {
            if (typed.empty())
                return std::nullopt;
            const QString next = typed.front();
            typed.pop_front();
            return next;
        };
        prompts.tell = [this](const QString& message) { told << message; };
    }
    void TearDown() override { qputenv("QUORIN_REGISTRY", previous); }

    quorin::FirstRunResult Offer(const QString& server = {})
    {
        return quorin::OfferEmptyRegistry(server, QStringLiteral("labadmin"), password, prompts);
    }
    bool Exists(const char* file) const { return QFileInfo::exists(registry + QLatin1Char('/') + file); }

    const QByteArray previous = qgetenv("QUORIN_REGISTRY");
    QTemporaryDir folder;
    const QString registry = folder.path() + QStringLiteral("/registry");
    quorin::FirstRunPrompts prompts;
    QString password;
    bool yes = true;
    std::deque<QString> typed;
    QStringList questions, told;
};

// Nothing is created when the offer is declined or the passwords differ or are empty;
// never an administrator without a password. Once created, a second start asks nothing.
TEST_F(FirstRunTest, TheRegistryIsCreatedOnlyWithAChosenPasswordAndOnlyOnce)
{
    EXPECT_EQ(Offer(QStringLiteral("sqlhost")), quorin::FirstRunResult::NotNeeded);
    yes = false;
    EXPECT_EQ(Offer(), quorin::FirstRunResult::Declined);
    ASSERT_EQ(questions.size(), 1);
    EXPECT_TRUE(questions[0].contains(QStringLiteral("labadmin")));
    yes = true;
    typed = {QStringLiteral("one"), QStringLiteral("two"), QString(), QString()};
    EXPECT_EQ(Offer(), quorin::FirstRunResult::Declined);
    EXPECT_EQ(Offer(), quorin::FirstRunResult::Declined);
    EXPECT_EQ(told.size(), 2);
    EXPECT_FALSE(Exists("master.db"));

    typed = {QStringLiteral("Fresh-Start-1"), QStringLiteral("Fresh-Start-1")};
    EXPECT_EQ(Offer(), quorin::FirstRunResult::Created);
    EXPECT_EQ(password, QStringLiteral("Fresh-Start-1"));
    EXPECT_TRUE(Exists("master.db") && Exists("Quorin.db"));
    EXPECT_EQ(Offer(), quorin::FirstRunResult::NotNeeded);
    EXPECT_EQ(questions.size(), 4);
}

} // namespace
