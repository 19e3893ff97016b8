// The standard exchanges: values both ways, the range and length checks with their
// messages, and the failure rule (message once, focus back, exchange stops).
#include "framework/DdxStandard.h"
#include "framework/TemplateBuilder.h"
#include "framework/TemplateDialog.h"
#include "framework/TemplateRegistry.h"
#include "framework/ControlId.h"
#include "MessageRecorder.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QListWidget>
#include <QRadioButton>
#include <gtest/gtest.h>

namespace {

using framework::ControlKind;

framework::DialogTemplate FormTemplate()
{
    framework::DialogTemplate form;
    form.id = 9001;
    form.caption = QStringLiteral("Exchange");
    form.cx = 200;
    form.cy = 150;
    form.controls = {
        {10, ControlKind::Edit, {}, 5, 5, 60, 12, 0, {}},
        {11, ControlKind::Edit, {}, 5, 20, 60, 12, 0, {}},
        {12, ControlKind::Edit, {}, 5, 35, 60, 12, 0, {}},
        {20, ControlKind::ComboDropList, {}, 80, 5, 60, 50, 0, {"Male", "Female", "Not Reported"}},
        {21, ControlKind::ComboDropDown, {}, 80, 20, 60, 50, 0, {"Alpha", "Beta"}},
        {22, ControlKind::ListBox, {}, 80, 40, 60, 30, 0, {"one", "two", "three"}},
        {30, ControlKind::CheckBox, QStringLiteral("Check"), 5, 50, 60, 10, 0, {}},
        {40, ControlKind::Radio, QStringLiteral("A"), 5, 65, 40, 10, framework::StyleGroup, {}},
        {41, ControlKind::Radio, QStringLiteral("B"), 5, 75, 40, 10, 0, {}},
        {42, ControlKind::Radio, QStringLiteral("C"), 5, 85, 40, 10, 0, {}},
        {50, ControlKind::Radio, QStringLiteral("X"), 60, 65, 40, 10, framework::StyleGroup, {}},
        {51, ControlKind::Radio, QStringLiteral("Y"), 60, 75, 40, 10, 0, {}},
    };
    return form;
}

class DataExchangeTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        const auto form = FormTemplate();
        framework::TemplateBuilder(framework::TemplateBuilder::DialogFont(form)).Build(form, &dialog);
        dialog.show();
        QApplication::setActiveWindow(&dialog);
    }

    QLineEdit* Edit(int id) { return framework::FindControlAs<QLineEdit>(&dialog, id); }

    template <class F>
    bool Save(F exchange)
    {
        return RunDataExchange(&dialog, true, exchange);
    }
    template <class F>
    bool Load(F exchange)
    {
        return RunDataExchange(&dialog, false, exchange);
    }

    QWidget dialog;
    framework::test::MessageRecorder messages;
};

TEST_F(DataExchangeTest, TextAndNumbersGoBothWays)
{
    QString name = QStringLiteral("O'Brien");
    int count = 42;
    double level = 2.5;
    ASSERT_TRUE(Load([&](CDataExchange* pDX) {
        DDX_Text(pDX, 10, name);
        DDX_Text(pDX, 11, count);
        DDX_Text(pDX, 12, level);
    }));
    EXPECT_EQ(Edit(10)->text(), QStringLiteral("O'Brien"));
    EXPECT_EQ(Edit(11)->text(), QStringLiteral("42"));
    EXPECT_EQ(Edit(12)->text(), QStringLiteral("2.5"));
    Edit(11)->setText(QStringLiteral(" 17 "));
    ASSERT_TRUE(Save([&](CDataExchange* pDX) { DDX_Text(pDX, 11, count); }));
    EXPECT_EQ(count, 17);
}

TEST_F(DataExchangeTest, LoadedTextsShowTheirBeginningExceptWhereTheUserTypes)
{
    QString race = QStringLiteral("American Indian or Alaskan Native");
    QString typing = QStringLiteral("Smith");
    Edit(11)->setFocus();
    QApplication::processEvents();
    ASSERT_TRUE(Load([&](CDataExchange* pDX) {
        DDX_CBString(pDX, 21, race);
        DDX_Text(pDX, 10, race);
        DDX_Text(pDX, 11, typing);
    }));
    EXPECT_EQ(Edit(10)->cursorPosition(), 0);
    EXPECT_EQ(framework::FindControlAs<QComboBox>(&dialog, 21)->lineEdit()->cursorPosition(), 0);
    // The focused field keeps the cursor where typing goes on.
    ASSERT_TRUE(Edit(11)->hasFocus());
    EXPECT_EQ(Edit(11)->cursorPosition(), 5);
}

TEST_F(DataExchangeTest, RangeFailureShowsOneMessageFocusesTheControlAndStops)
{
    QString first = QStringLiteral("old"), last = QStringLiteral("old");
    int value = 0;
    Edit(10)->setText(QStringLiteral("new"));
    Edit(11)->setText(QStringLiteral("250"));
    Edit(12)->setText(QStringLiteral("new"));
    const bool ok = Save([&](CDataExchange* pDX) {
        DDX_Text(pDX, 10, first);
        DDX_Text(pDX, 11, value);
        DDV_MinMaxInt(pDX, value, 0, 120);
        DDX_Text(pDX, 12, last);
    });
    EXPECT_FALSE(ok);
    ASSERT_EQ(messages.shown.size(), 1u);
    EXPECT_EQ(messages.shown[0].text, QStringLiteral("Please enter an integer between 0 and 120."));
    EXPECT_EQ(first, QStringLiteral("new")); // exchanged before the failure
    EXPECT_EQ(last, QStringLiteral("old"));  // never reached
    EXPECT_EQ(QApplication::focusWidget(), Edit(11));
}

TEST_F(DataExchangeTest, NumberRangeAndLengthMessages)
{
    double level = 0;
    Edit(12)->setText(QStringLiteral("7.5"));
    EXPECT_FALSE(Save([&](CDataExchange* pDX) {
        DDX_Text(pDX, 12, level);
        DDV_MinMaxDouble(pDX, level, 0.5, 5.25);
    }));
    QString text;
    Edit(10)->setText(QStringLiteral("abcdef"));
    EXPECT_FALSE(Save([&](CDataExchange* pDX) {
        DDX_Text(pDX, 10, text);
        DDV_MaxChars(pDX, text, 5);
    }));
    Edit(11)->setText(QStringLiteral("x1"));
    int count = 0;
    EXPECT_FALSE(Save([&](CDataExchange* pDX) { DDX_Text(pDX, 11, count); }));
    ASSERT_EQ(messages.shown.size(), 3u);
    EXPECT_EQ(messages.shown[0].text, QStringLiteral("Please enter a number between 0.5 and 5.25."));
    EXPECT_EQ(messages.shown[1].text, QStringLiteral("Please enter no more than 5 characters."));
    EXPECT_EQ(messages.shown[2].text, QStringLiteral("Please enter an integer."));
}

TEST_F(DataExchangeTest, MaxCharsLimitsTheEditWhenLoading)
{
    QString text = QStringLiteral("abc");
    ASSERT_TRUE(Load([&](CDataExchange* pDX) {
        DDX_Text(pDX, 10, text);
        DDV_MaxChars(pDX, text, 4);
    }));
    EXPECT_EQ(Edit(10)->maxLength(), 4);
    Edit(10)->setText(QStringLiteral("abcdefgh"));
    EXPECT_EQ(Edit(10)->text(), QStringLiteral("abcd"));
}

TEST_F(DataExchangeTest, ComboAndListSelections)
{
    int index = 1;
    QString listText = QStringLiteral("not");   // prefix of "Not Reported"
    QString editText = QStringLiteral("Gamma"); // not in the list: shown anyway
    int row = 2;
    ASSERT_TRUE(Load([&](CDataExchange* pDX) {
        DDX_CBIndex(pDX, 20, index);
        DDX_CBString(pDX, 21, editText);
        DDX_LBIndex(pDX, 22, row);
    }));
    auto gender = framework::FindControlAs<QComboBox>(&dialog, 20);
    EXPECT_EQ(gender->currentText(), QStringLiteral("Female"));
    EXPECT_EQ(framework::FindControlAs<QComboBox>(&dialog, 21)->currentText(), QStringLiteral("Gamma"));
    ASSERT_TRUE(Load([&](CDataExchange* pDX) { DDX_CBString(pDX, 20, listText); }));
    EXPECT_EQ(gender->currentText(), QStringLiteral("Not Reported"));
    QString empty;
    ASSERT_TRUE(Load([&](CDataExchange* pDX) { DDX_CBString(pDX, 20, empty); }));
    EXPECT_EQ(gender->currentIndex(), -1);
    gender->setCurrentIndex(1);

    gender->setCurrentIndex(-1);
    framework::FindControlAs<QListWidget>(&dialog, 22)->setCurrentRow(0);
    QString saved;
    ASSERT_TRUE(Save([&](CDataExchange* pDX) {
        DDX_CBIndex(pDX, 20, index);
        DDX_CBString(pDX, 20, saved);
        DDX_LBIndex(pDX, 22, row);
    }));
    EXPECT_EQ(index, -1);
    EXPECT_EQ(saved, QString());
    EXPECT_EQ(row, 0);
}

TEST_F(DataExchangeTest, CheckAndRadioGroupsStaySeparate)
{
    int check = 1, first = 2, second = 0;
    ASSERT_TRUE(Load([&](CDataExchange* pDX) {
        DDX_Check(pDX, 30, check);
        DDX_Radio(pDX, 40, first);
        DDX_Radio(pDX, 50, second);
    }));
    EXPECT_TRUE(framework::FindControlAs<QCheckBox>(&dialog, 30)->isChecked());
    EXPECT_TRUE(framework::FindControlAs<QRadioButton>(&dialog, 42)->isChecked());
    EXPECT_TRUE(framework::FindControlAs<QRadioButton>(&dialog, 50)->isChecked());

    framework::FindControlAs<QRadioButton>(&dialog, 41)->click();
    int readFirst = -5, readSecond = -5, readCheck = -5;
    ASSERT_TRUE(Save([&](CDataExchange* pDX) {
        DDX_Check(pDX, 30, readCheck);
        DDX_Radio(pDX, 40, readFirst);
        DDX_Radio(pDX, 50, readSecond);
    }));
    EXPECT_EQ(readCheck, 1);
    EXPECT_EQ(readFirst, 1);
    EXPECT_EQ(readSecond, 0); // the other group kept its choice

    int none = -1;
    ASSERT_TRUE(Load([&](CDataExchange* pDX) { DDX_Radio(pDX, 40, none); }));
    ASSERT_TRUE(Save([&](CDataExchange* pDX) { DDX_Radio(pDX, 40, readFirst); }));
    EXPECT_EQ(readFirst, -1);
}

TEST_F(DataExchangeTest, MissingControlFailsTheExchangeQuietly)
{
    QString text;
    EXPECT_FALSE(Save([&](CDataExchange* pDX) { DDX_Text(pDX, 999, text); }));
    EXPECT_TRUE(messages.shown.empty());
}

} // namespace
