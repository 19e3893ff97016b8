// A coded drop-down list: the item's position is the code, and a stored code the list has
// no item for survives a save the user did not touch.
#include "controls/DdxStoredCode.h"
#include "framework/ControlId.h"

#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <gtest/gtest.h>

namespace {

class DdxStoredCodeTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        combo = new QComboBox(&form);
        combo->addItems({QStringLiteral("Unknown"), QStringLiteral("Yes"), QStringLiteral("No")});
        framework::SetControlId(combo, 1);
        edit = new QLineEdit(&form);
        framework::SetControlId(edit, 2);
        form.show();
    }

    bool Exchange(bool save, int id, int& code)
    {
        return RunDataExchange(&form, save, [&](CDataExchange* pDX) { DDX_StoredCodeIndex(pDX, id, code); });
    }

    QWidget form;
    QComboBox* combo = nullptr;
    QLineEdit* edit = nullptr;
};

TEST_F(DdxStoredCodeTest, CodeTheListLacksShowsAsNoChoiceAndIsKeptOnSaving)
{
    int code = 7; // an old code, with no item
    ASSERT_TRUE(Exchange(false, 1, code));
    EXPECT_EQ(-1, combo->currentIndex());
    ASSERT_TRUE(Exchange(true, 1, code));
    EXPECT_EQ(7, code);
    // A choice the user makes replaces it.
    combo->setCurrentIndex(2);
    ASSERT_TRUE(Exchange(true, 1, code));
    EXPECT_EQ(2, code);
}

TEST_F(DdxStoredCodeTest, KnownCodesSelectTheirItemAndSaveTheirPosition)
{
    for (int stored : {0, 1, 2}) {
        int code = stored;
        ASSERT_TRUE(Exchange(false, 1, code));
        EXPECT_EQ(stored, combo->currentIndex());
        code = -5;
        ASSERT_TRUE(Exchange(true, 1, code));
        EXPECT_EQ(stored, code);
    }
    // An empty code (-1) loads as no choice and stays empty.
    int empty = -1;
    ASSERT_TRUE(Exchange(false, 1, empty));
    EXPECT_EQ(-1, combo->currentIndex());
    ASSERT_TRUE(Exchange(true, 1, empty));
    EXPECT_EQ(-1, empty);
}

TEST_F(DdxStoredCodeTest, ControlThatIsNoListFailsTheExchange)
{
    int code = 1;
    EXPECT_FALSE(Exchange(true, 2, code));
    EXPECT_EQ(1, code);
    EXPECT_FALSE(Exchange(false, 2, code));
}

} // namespace
