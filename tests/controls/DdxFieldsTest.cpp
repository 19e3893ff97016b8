// Whole numbers, reals and dates typed into edit controls: empty values, allowed
// characters, truncation, and the date checks with today's date in range.
#include "rules/DateText.h"
#include "controls/DdxFields.h"
#include "dalport/Clock.h"
#include "framework/ControlId.h"
#include "framework/MessageRecorder.h"

#include <QApplication>
#include <QLineEdit>
#include <gtest/gtest.h>

#include <clocale>
#include <string>

namespace {

constexpr const char* kInvalidNumber = "Invalid characters in numeric field.";
constexpr const char* kInvalidDate = "Error: Invalid Date - use MM/DD/YYYY or MM-DD-YYYY format.";

class DdxFieldsTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        dalport::SetFixedClock("2026-06-15 10:30:00");
        edit = new QLineEdit(&form);
        framework::SetControlId(edit, 1);
        other = new QLineEdit(&form);
        framework::SetControlId(other, 2);
        form.show();
        QApplication::setActiveWindow(&form);
    }
    void TearDown() override { dalport::ResetClock(); }

    template <class T>
    bool Save(void (*ddx)(CDataExchange*, int, T&), const QString& typed, T& value)
    {
        edit->setText(typed);
        return RunDataExchange(&form, true, [&](CDataExchange* pDX) { ddx(pDX, 1, value); });
    }
    template <class T>
    QString Load(void (*ddx)(CDataExchange*, int, T&), T value)
    {
        RunDataExchange(&form, false, [&](CDataExchange* pDX) { ddx(pDX, 1, value); });
        return edit->text();
    }
    bool DateOk(const QString& typed)
    {
        QString value;
        return Save(DDX_DateField, typed, value);
    }

    QWidget form;
    QLineEdit* edit = nullptr;
    QLineEdit* other = nullptr;
    framework::test::MessageRecorder messages;
};

TEST_F(DdxFieldsTest, IntFieldEmptyValueAndFormatting)
{
    EXPECT_EQ(Load(DDX_IntField, -1), QString());
    EXPECT_EQ(Load(DDX_IntField, 42), QStringLiteral("42"));
    int value = 5;
    EXPECT_TRUE(Save(DDX_IntField, QString(), value));
    EXPECT_EQ(value, -1);
    EXPECT_TRUE(Save(DDX_IntField, QStringLiteral("007"), value));
    EXPECT_EQ(value, 7);
    EXPECT_TRUE(Save(DDX_IntField, QStringLiteral("123456789012"), value));
    EXPECT_EQ(value, 123456789);
    EXPECT_TRUE(messages.shown.empty());
}

TEST_F(DdxFieldsTest, IntFieldRefusesSignsAndLettersWithTheStopIcon)
{
    int value = 3;
    EXPECT_FALSE(Save(DDX_IntField, QStringLiteral("-5"), value));
    EXPECT_FALSE(Save(DDX_IntField, QStringLiteral("1 2"), value));
    EXPECT_EQ(value, 3);
    ASSERT_EQ(messages.shown.size(), 2u);
    EXPECT_EQ(messages.shown[0].text, QString::fromLatin1(kInvalidNumber));
    EXPECT_EQ(messages.shown[0].icon, framework::MessageIcon::Stop);
    EXPECT_EQ(QApplication::focusWidget(), edit);
    // Only the first nine characters are read: a letter after them does not count.
    EXPECT_TRUE(Save(DDX_IntField, QStringLiteral("123456789x"), value));
    EXPECT_EQ(value, 123456789);
}

TEST_F(DdxFieldsTest, FloatFieldEmptyValueAndTwoDecimals)
{
    EXPECT_EQ(Load(DDX_FloatField, -999.0f), QString());
    EXPECT_EQ(Load(DDX_FloatField, 3.0f), QStringLiteral("3.00"));
    EXPECT_EQ(Load(DDX_FloatField, 2.456f), QStringLiteral("2.46"));
    float value = 1.0f;
    EXPECT_TRUE(Save(DDX_FloatField, QString(), value));
    EXPECT_EQ(value, -999.0f);
    EXPECT_TRUE(Save(DDX_FloatField, QStringLiteral("1.5.2"), value));
    EXPECT_FLOAT_EQ(value, 1.5f);
    EXPECT_TRUE(Save(DDX_FloatField, QStringLiteral("+"), value));
    EXPECT_EQ(value, 0.0f);
    EXPECT_TRUE(Save(DDX_FloatField, QStringLiteral("-12.25"), value));
    EXPECT_FLOAT_EQ(value, -12.25f);
    EXPECT_FALSE(Save(DDX_FloatField, QStringLiteral("1,5"), value));
    EXPECT_EQ(messages.shown.size(), 1u);
}

TEST_F(DdxFieldsTest, FloatFieldReadsTheNumberAtTheStartOfTheText)
{
    float value = 0.0f;
    EXPECT_TRUE(Save(DDX_FloatField, QStringLiteral("5."), value));
    EXPECT_FLOAT_EQ(value, 5.0f);
    EXPECT_TRUE(Save(DDX_FloatField, QStringLiteral(".5"), value));
    EXPECT_FLOAT_EQ(value, 0.5f);
    EXPECT_TRUE(Save(DDX_FloatField, QStringLiteral("+2.5"), value));
    EXPECT_FLOAT_EQ(value, 2.5f);
    EXPECT_TRUE(Save(DDX_FloatField, QStringLiteral("7-3"), value));
    EXPECT_FLOAT_EQ(value, 7.0f);
    EXPECT_TRUE(Save(DDX_FloatField, QStringLiteral("+-1"), value));
    EXPECT_EQ(value, 0.0f);
    EXPECT_TRUE(Save(DDX_FloatField, QStringLiteral("."), value));
    EXPECT_EQ(value, 0.0f);
    EXPECT_TRUE(messages.shown.empty());
}

// The program runs in the user's locale; a decimal comma there must not cut "1.5" to 1.
TEST_F(DdxFieldsTest, FloatFieldReadsTheDecimalPointUnderADecimalCommaLocale)
{
    const std::string previous = std::setlocale(LC_NUMERIC, nullptr);
    const char* comma = nullptr;
    for (const char* name : {"de_DE.UTF-8", "de_DE.utf8", "fr_FR.UTF-8", "nl_NL.UTF-8", "de_DE"}) {
        if (std::setlocale(LC_NUMERIC, name)) {
            comma = name;
            break;
        }
    }
    if (!comma)
        GTEST_SKIP() << "no locale with a decimal comma is installed";
    float value = 0.0f;
    const bool ok = Save(DDX_FloatField, QStringLiteral("1.5"), value);
    std::setlocale(LC_NUMERIC, previous.c_str());
    EXPECT_TRUE(ok);
    EXPECT_FLOAT_EQ(value, 1.5f);
}

TEST_F(DdxFieldsTest, DateFieldNaAndTheDocumentedEdges)
{
    QString value;
    EXPECT_TRUE(Save(DDX_DateField, QStringLiteral("na"), value));
    EXPECT_EQ(value, QStringLiteral("01/01/1901"));
    EXPECT_TRUE(Save(DDX_DateField, QString(), value));
    EXPECT_EQ(value, QString());
    EXPECT_TRUE(DateOk(QStringLiteral("12/31/2030")));
    EXPECT_TRUE(DateOk(QStringLiteral("1-5-2001")));
    EXPECT_TRUE(DateOk(QStringLiteral("1\\2\\2003")));
    EXPECT_FALSE(DateOk(QStringLiteral("13/01/2000")));
    EXPECT_FALSE(DateOk(QStringLiteral("12/31/1899")));
    EXPECT_FALSE(DateOk(QStringLiteral("2000/01/01")));
    EXPECT_FALSE(DateOk(QStringLiteral("1/2/3/4")));
    EXPECT_FALSE(DateOk(QStringLiteral("5/5")));
    EXPECT_EQ(messages.shown.size(), 5u);
    EXPECT_EQ(messages.shown[0].text, QString::fromLatin1(kInvalidDate));
}

TEST_F(DdxFieldsTest, DateFieldKeepsTheTypedTextEvenWhenInvalid)
{
    QString value;
    EXPECT_FALSE(Save(DDX_DateField, QStringLiteral("13/01/2000"), value));
    EXPECT_EQ(value, QStringLiteral("13/01/2000"));
    EXPECT_TRUE(Save(DDX_DateField, QStringLiteral("1-5-2001"), value));
    EXPECT_EQ(value, QStringLiteral("1-5-2001")); // not normalised
    // Only 19 characters are kept; the year piece reads as a number up to its first
    // non-digit, so the text still passes.
    EXPECT_TRUE(Save(DDX_DateField, QStringLiteral("01/01/2000 and more text"), value));
    EXPECT_EQ(value, QStringLiteral("01/01/2000 and more"));
}

TEST_F(DdxFieldsTest, DateFieldYearCeilingFollowsTheClock)
{
    // Today and twenty years on are accepted; the year after is not.
    EXPECT_EQ(quorin::LatestAcceptedYear(), 2046);
    EXPECT_TRUE(DateOk(QStringLiteral("6/15/2026")));
    EXPECT_TRUE(DateOk(QStringLiteral("12/31/2046")));
    EXPECT_FALSE(DateOk(QStringLiteral("1/1/2047")));
    dalport::SetFixedClock("2040-01-01");
    EXPECT_TRUE(DateOk(QStringLiteral("1/1/2047")));
}

TEST_F(DdxFieldsTest, DateFieldRefusesDaysTheMonthDoesNotHave)
{
    EXPECT_FALSE(DateOk(QStringLiteral("2/30/2005")));
    EXPECT_FALSE(DateOk(QStringLiteral("4/31/2005")));
    EXPECT_FALSE(DateOk(QStringLiteral("2/29/2005")));
    EXPECT_TRUE(DateOk(QStringLiteral("2/29/2004")));
    EXPECT_FALSE(DateOk(QStringLiteral("2/29/1900"))); // 1900 was no leap year
    EXPECT_TRUE(DateOk(QStringLiteral("2/29/2000")));
    EXPECT_FALSE(DateOk(QStringLiteral("0/10/2000")));
}

TEST_F(DdxFieldsTest, LoadingAnEmptyDateLeavesTheOlderText)
{
    edit->setText(QStringLiteral("3/7/2009"));
    EXPECT_EQ(Load(DDX_DateField, QString()), QStringLiteral("3/7/2009"));
    EXPECT_EQ(Load(DDX_DateField, QStringLiteral("4/1/2010")), QStringLiteral("4/1/2010"));
}

TEST_F(DdxFieldsTest, FailingFieldStopsTheExchangeAfterEarlierFieldsWereStored)
{
    int before = -1;
    QString date = QStringLiteral("old");
    int after = -1;
    other->setText(QStringLiteral("15"));
    edit->setText(QStringLiteral("2/30/2005"));
    auto third = new QLineEdit(&form);
    framework::SetControlId(third, 3);
    third->setText(QStringLiteral("99"));
    const bool ok = RunDataExchange(&form, true, [&](CDataExchange* pDX) {
        DDX_IntField(pDX, 2, before);
        DDX_DateField(pDX, 1, date);
        DDX_IntField(pDX, 3, after);
    });
    EXPECT_FALSE(ok);
    EXPECT_EQ(before, 15);
    EXPECT_EQ(after, -1);
    EXPECT_EQ(messages.shown.size(), 1u);
    EXPECT_EQ(QApplication::focusWidget(), edit);
}

// What the field was filled with comes back exactly while its text is unchanged; only
// what the user types is checked.
TEST_F(DdxFieldsTest, StoredValuesComeBackAsStoredAndOnlyTypingIsChecked)
{
    for (const int stored : {-5, -1, 1234567890}) {
        const QString shown = Load(DDX_IntField, stored);
        int value = 0;
        EXPECT_TRUE(Save(DDX_IntField, shown, value)) << stored;
        EXPECT_EQ(value, stored);
    }
    int value = 0;
    Load(DDX_IntField, -5);
    EXPECT_FALSE(Save(DDX_IntField, QStringLiteral("-6"), value)) << "typed, the sign is still refused";
    EXPECT_EQ(messages.shown.size(), 1u);

    // Two decimals are shown; the stored value comes back, not the rounded one.
    float measured = 0.0f;
    ASSERT_EQ(Load(DDX_FloatField, 2.345f), QStringLiteral("2.35"));
    EXPECT_TRUE(Save(DDX_FloatField, QStringLiteral("2.35"), measured));
    EXPECT_EQ(measured, 2.345f);
}

TEST_F(DdxFieldsTest, LevelFieldTakesALeadingMinusButNeverTurnsMinusOneIntoEmpty)
{
    struct Case {
        const char* typed;
        bool ok;
        int value;
    };
    const Case cases[] = {{"-5", true, -5}, {"-10", true, -10}, {"35", true, 35}, {"", true, -1},
                          {"-", false, 7},  {"5-", false, 7},   {"--5", false, 7}, {"-1", false, 7}};
    for (const Case& c : cases) {
        int value = 7;
        EXPECT_EQ(Save(DDX_LevelField, QString::fromLatin1(c.typed), value), c.ok) << c.typed;
        EXPECT_EQ(value, c.value) << c.typed;
    }
    ASSERT_EQ(messages.shown.size(), 4u);
    EXPECT_EQ(messages.shown[2].text, QString::fromLatin1(kInvalidNumber));
    EXPECT_TRUE(messages.shown[3].text.startsWith("-1 is stored as an empty field"));
    EXPECT_EQ(Load(DDX_LevelField, -5), QStringLiteral("-5"));
}

TEST_F(DdxFieldsTest, LimitedTextTakesALongerStoredTextBackButNotALongerTypedOne)
{
    const auto save = [&](const QString& typed, QString& value) {
        edit->setText(typed);
        return RunDataExchange(&form, true, [&](CDataExchange* pDX) { DDX_LimitedText(pDX, 1, value, 499); });
    };
    QString clinic(700, QLatin1Char('c'));
    RunDataExchange(&form, false, [&](CDataExchange* pDX) { DDX_LimitedText(pDX, 1, clinic, 499); });
    ASSERT_EQ(edit->text().size(), 700) << "shown whole";
    QString value;
    EXPECT_TRUE(save(clinic, value));
    EXPECT_EQ(value, clinic);
    EXPECT_TRUE(save(clinic.left(650), value)) << "shortened";
    EXPECT_FALSE(save(clinic + QLatin1Char('x'), value));

    QString empty;
    RunDataExchange(&form, false, [&](CDataExchange* pDX) { DDX_LimitedText(pDX, 1, empty, 499); });
    EXPECT_TRUE(save(QString(499, QLatin1Char('t')), value));
    EXPECT_FALSE(save(QString(500, QLatin1Char('t')), value));
    ASSERT_EQ(messages.shown.size(), 2u);
    EXPECT_EQ(messages.shown[1].text, QStringLiteral("Please enter no more than 499 characters."));
}

} // namespace
