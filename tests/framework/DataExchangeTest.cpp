// The standard exchanges: values both ways, the checks with their messages, and the
// failure rule (message once, focus back, exchange stops).
#include "framework/DdxStandard.h"
#include "framework/TemplateBuilder.h"
#include "framework/ControlId.h"
#include "MessageRecorder.h"

#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <gtest/gtest.h>

namespace {

using framework::ControlKind;

class DataExchangeTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        framework::DialogTemplate form;
        form.cx = 200;
        form.cy = 150;
        form.controls = {
            {10, ControlKind::Edit, {}, 5, 5, 60, 12, 0, {}},
            {11, ControlKind::Edit, {}, 5, 20, 60, 12, 0, {}},
            {20, ControlKind::ComboDropList, {}, 80, 5, 60, 50, 0, {"Male", "Female", "Not Reported"}},
            {21, ControlKind::ComboDropDown, {}, 80, 20, 60, 50, 0, {"Alpha", "Beta"}},
        };
        framework::TemplateBuilder(framework::TemplateBuilder::DialogFont(form)).Build(form, &dialog);
        dialog.show();
        QApplication::setActiveWindow(&dialog);
    }

    template <class T>
    T* Control(int id)
    {
        return framework::FindControlAs<T>(&dialog, id);
    }
    template <class F>
    bool Exchange(bool save, F exchange)
    {
        return RunDataExchange(&dialog, save, exchange);
    }

    QWidget dialog;
    framework::test::MessageRecorder messages;
};

TEST_F(DataExchangeTest, AFailedCheckShowsOneMessageFocusesTheControlAndStops)
{
    QString first = QStringLiteral("old"), last = QStringLiteral("old");
    int value = 0;
    Control<QLineEdit>(10)->setText(QStringLiteral("new"));
    Control<QLineEdit>(11)->setText(QStringLiteral(" 250 "));
    EXPECT_FALSE(Exchange(true, [&](CDataExchange* pDX) {
        DDX_Text(pDX, 10, first);
        DDX_Text(pDX, 11, value);
        DDV_MinMaxInt(pDX, value, 0, 120);
        DDX_Text(pDX, 10, last);
    }));
    EXPECT_EQ(first, QStringLiteral("new")); // exchanged before the failure
    EXPECT_EQ(value, 250);
    EXPECT_EQ(last, QStringLiteral("old")); // never reached
    EXPECT_EQ(QApplication::focusWidget(), Control<QLineEdit>(11));

    double level = 0;
    QString text;
    EXPECT_FALSE(Exchange(true, [&](CDataExchange* pDX) {
        DDX_Text(pDX, 11, level);
        DDV_MinMaxDouble(pDX, level, 0.5, 5.25);
    }));
    EXPECT_FALSE(Exchange(true, [&](CDataExchange* pDX) {
        DDX_Text(pDX, 10, text);
        DDV_MaxChars(pDX, text, 2);
    }));
    Control<QLineEdit>(11)->setText(QStringLiteral("x1"));
    EXPECT_FALSE(Exchange(true, [&](CDataExchange* pDX) { DDX_Text(pDX, 11, value); }));
    EXPECT_FALSE(Exchange(true, [&](CDataExchange* pDX) { DDX_Text(pDX, 999, text); })); // no such control: no box
    QStringList shown;
    for (const framework::MessageRequest& m : messages.shown)
        shown << m.text;
    EXPECT_EQ(shown, (QStringList{"Please enter an integer between 0 and 120.",
                                  "Please enter a number between 0.5 and 5.25.",
                                  "Please enter no more than 2 characters.", "Please enter an integer."}));
}

TEST_F(DataExchangeTest, LoadedTextsShowTheirBeginningExceptWhereTheUserTypes)
{
    QString race = QStringLiteral("American Indian or Alaskan Native"), typing = QStringLiteral("Smith");
    Control<QLineEdit>(11)->setFocus();
    QApplication::processEvents();
    ASSERT_TRUE(Exchange(false, [&](CDataExchange* pDX) {
        DDX_CBString(pDX, 21, race);
        DDX_Text(pDX, 10, race);
        DDX_Text(pDX, 11, typing);
        DDV_MaxChars(pDX, typing, 6);
    }));
    EXPECT_EQ(Control<QLineEdit>(10)->cursorPosition(), 0);
    EXPECT_EQ(Control<QComboBox>(21)->lineEdit()->cursorPosition(), 0);
    ASSERT_TRUE(Control<QLineEdit>(11)->hasFocus());
    EXPECT_EQ(Control<QLineEdit>(11)->cursorPosition(), 5);
    EXPECT_EQ(Control<QLineEdit>(11)->maxLength(), 6);
}

TEST_F(DataExchangeTest, ListsGoBothWaysAndAnEmptyTextSelectsNothing)
{
    QString listText = QStringLiteral("not"); // a prefix of "Not Reported"
    QString editText = QStringLiteral("Gamma"); // not in the list: shown anyway
    ASSERT_TRUE(Exchange(false, [&](CDataExchange* pDX) {
        DDX_CBString(pDX, 20, listText);
        DDX_CBString(pDX, 21, editText);
    }));
    EXPECT_EQ(Control<QComboBox>(20)->currentText(), QStringLiteral("Not Reported"));
    EXPECT_EQ(Control<QComboBox>(21)->currentText(), QStringLiteral("Gamma"));
    QString empty;
    ASSERT_TRUE(Exchange(false, [&](CDataExchange* pDX) { DDX_CBString(pDX, 20, empty); }));
    EXPECT_EQ(Control<QComboBox>(20)->currentIndex(), -1);
    int index = 5;
    QString saved = QStringLiteral("x");
    ASSERT_TRUE(Exchange(true, [&](CDataExchange* pDX) {
        DDX_CBIndex(pDX, 20, index);
        DDX_CBString(pDX, 20, saved);
    }));
    EXPECT_EQ(index, -1);
    EXPECT_EQ(saved, QString());
}

} // namespace
