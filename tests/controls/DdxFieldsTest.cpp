// Typed numbers, levels, reals, dates and coded lists exchanged with real controls: what
// the user may type, the empty values, and stored values handed back unchanged.
#include "controls/DdxFields.h"
#include "controls/DdxStoredCode.h"
#include "framework/ControlId.h"
#include "framework/MessageRecorder.h"

#include <QComboBox>
#include <QLineEdit>
#include <gtest/gtest.h>

#include <clocale>
#include <string>

namespace {

class DdxFieldsTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        framework::SetControlId(edit, 1);
        framework::SetControlId(combo, 2);
        combo->addItems({QStringLiteral("Unknown"), QStringLiteral("Yes"), QStringLiteral("No")});
        form.show();
    }

    // The field's kind exchanged in one direction; the member's value as text.
    QString Exchange(char kind, bool save, QString value)
    {
        int number = value.toInt();
        float real = value.toFloat();
        const bool ok = RunDataExchange(&form, save, [&](CDataExchange* dx) {
            switch (kind) {
            case 'i': DDX_IntField(dx, 1, number); break;
            case 'l': DDX_LevelField(dx, 1, number); break;
            case 'f': DDX_FloatField(dx, 1, real); break;
            case 't': DDX_LimitedText(dx, 1, value, 499); break;
            case 'c': DDX_StoredCodeIndex(dx, 2, number); break;
            default: DDX_DateField(dx, 1, value);
            }
        });
        const QString out = kind == 'f'                 ? QString::number(real)
                            : kind == 'd' || kind == 't' ? value
                                                         : QString::number(number);
        return ok ? out : QStringLiteral("refused ") + out;
    }
    QString Typed(char kind, const QString& typed)
    {
        edit->setText(typed);
        return Exchange(kind, true, QStringLiteral("7"));
    }

    QWidget form;
    QLineEdit* edit = new QLineEdit(&form);
    QComboBox* combo = new QComboBox(&form);
    framework::test::MessageRecorder messages;
};

TEST_F(DdxFieldsTest, WhatTheUserTypesIsCheckedAndStored)
{
    const struct {
        char kind;
        const char* typed;
        const char* stored;
    } cases[] = {
        {'i', "", "-1"}, {'i', "007", "7"}, {'i', "123456789012", "123456789"}, {'i', "123456789x", "123456789"},
        {'i', "-5", "refused 7"}, {'i', "1 2", "refused 7"},
        {'l', "-10", "-10"}, {'l', "", "-1"}, {'l', "5-", "refused 7"}, {'l', "-1", "refused 7"},
        {'f', "", "-999"}, {'f', "1.5.2", "1.5"}, {'f', "+", "0"}, {'f', "-12.25", "-12.25"}, {'f', ".5", "0.5"},
        {'f', "7-3", "7"}, {'f', "1,5", "refused 7"},
        {'d', "na", "01/01/1901"}, {'d', "", ""}, {'d', "1-5-2001", "1-5-2001"},
        {'d', "01/01/2000 and more text", "01/01/2000 and more"}, {'d', "2/30/2005", "refused 2/30/2005"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(Typed(c.kind, QString::fromLatin1(c.typed)), QString::fromLatin1(c.stored)) << c.kind << c.typed;
    const QString number = QStringLiteral("Invalid characters in numeric field.");
    QStringList shown;
    for (const framework::MessageRequest& m : messages.shown)
        shown << m.text;
    EXPECT_EQ(shown, (QStringList{number, number, number,
                                  "-1 is stored as an empty field; leave the field empty or enter another value.",
                                  number, "Error: Invalid Date - use MM/DD/YYYY or MM-DD-YYYY format."}));
    EXPECT_EQ(messages.shown.back().icon, framework::MessageIcon::Stop);
}

// A field left as it was filled hands back the stored value, which no typing could give.
TEST_F(DdxFieldsTest, StoredValuesAreShownAndComeBackUnchanged)
{
    const struct {
        char kind;
        QString stored, shown;
    } cases[] = {{'i', "-1", ""},      {'i', "-5", "-5"},  {'i', "1234567890", "1234567890"},
                 {'f', "-999", ""},    {'f', "2.345", "2.35"}, {'l', "-5", "-5"},
                 {'t', QString(700, QLatin1Char('c')), QString(700, QLatin1Char('c'))}};
    for (const auto& c : cases) {
        ASSERT_EQ(Exchange(c.kind, false, c.stored), c.stored);
        EXPECT_EQ(edit->text(), c.shown) << c.kind << c.stored.toStdString();
        EXPECT_EQ(Exchange(c.kind, true, QString()), c.stored) << c.kind;
    }
    EXPECT_TRUE(messages.shown.empty());
    // Typed, the rules hold again: a longer comment than the column and a sign are refused.
    EXPECT_EQ(Typed('t', QString(701, QLatin1Char('c'))), QStringLiteral("refused 7"));
    EXPECT_EQ(Typed('i', QStringLiteral("-6")), QStringLiteral("refused 7"));
    // An empty date leaves the older text.
    edit->setText(QStringLiteral("3/7/2009"));
    Exchange('d', false, QString());
    EXPECT_EQ(edit->text(), QStringLiteral("3/7/2009"));
}

// A decimal comma in the user's locale once cut "1.5" to 1.
TEST_F(DdxFieldsTest, FloatFieldReadsTheDecimalPointUnderADecimalCommaLocale)
{
    const std::string previous = std::setlocale(LC_NUMERIC, nullptr);
    bool comma = false;
    for (const char* name : {"de_DE.UTF-8", "de_DE.utf8", "fr_FR.UTF-8", "nl_NL.UTF-8", "de_DE"})
        comma = comma || std::setlocale(LC_NUMERIC, name);
    if (!comma)
        GTEST_SKIP() << "no locale with a decimal comma is installed";
    const QString stored = Typed('f', QStringLiteral("1.5"));
    std::setlocale(LC_NUMERIC, previous.c_str());
    EXPECT_EQ(stored, QStringLiteral("1.5"));
}

// A stored code the list has no item for shows as no choice and is kept on saving.
TEST_F(DdxFieldsTest, CodedListKeepsACodeItHasNoItemFor)
{
    EXPECT_EQ(Exchange('c', false, QStringLiteral("7")), QStringLiteral("7"));
    EXPECT_EQ(combo->currentIndex(), -1);
    EXPECT_EQ(Exchange('c', true, QStringLiteral("7")), QStringLiteral("7"));
    Exchange('c', false, QStringLiteral("1"));
    EXPECT_EQ(combo->currentText(), QStringLiteral("Yes"));
    combo->setCurrentIndex(2);
    EXPECT_EQ(Exchange('c', true, QStringLiteral("7")), QStringLiteral("2"));
}

} // namespace
