// Devices and CI speech rows changed by their position in the document's lists, the
// texts the CI Data lists show, and the age at implant, on a connected document.

#include "app/DocumentFixture.h"
#include "implants/store/CiDataEditing.h"

using quorin::test::DocumentTest;

namespace {

CCiSpeech Row(const char* type, const char* name)
{
    CCiSpeech r;
    r.DataType = "Post Implant";
    r.TestType = type;
    r.TestName = name;
    return r;
}

class CiDataEditing : public DocumentTest {};

TEST_F(CiDataEditing, EditAndDeleteActOnThePositionGivenEvenAmongTwins)
{
    doc->m_ciSpeechList = {Row("Word Recognition", "CNC"), Row("Word Recognition", "CNC")};
    ASSERT_TRUE(quorin::EditCiSpeech(*doc, 1, [](CCiSpeech& r) {
        r.Score = 42.0f;
        r.TimeIS = 14;
        r.DataType = "Pre Implant"; // the list the row is in does not change by editing
        r.Index = 7;
        return true;
    }));
    EXPECT_EQ(doc->m_ciSpeechList[0].Score, 0.0f);
    EXPECT_EQ(doc->m_ciSpeechList[1].Score, 42.0f);
    EXPECT_EQ(doc->m_ciSpeechList[1].TimeIS, 14);
    EXPECT_EQ(doc->m_ciSpeechList[1].DataType, "Post Implant");
    EXPECT_EQ(doc->m_ciSpeechList[1].Index, -1);
    EXPECT_EQ(doc->m_subject.Modified, 1);

    ASSERT_TRUE(quorin::DeleteCiSpeech(*doc, 1));
    ASSERT_EQ(doc->m_ciSpeechList.size(), 1u);
    EXPECT_EQ(doc->m_ciSpeechList[0].Score, 0.0f);

    // A position past the end (a list refilled meanwhile) changes nothing and asks nothing.
    doc->m_subject.Modified = 0;
    EXPECT_FALSE(quorin::DeleteCiSpeech(*doc, 5));
    EXPECT_FALSE(quorin::EditCiDevice(*doc, 0, [](CCiDevice&) { return true; }));
    EXPECT_EQ(doc->m_subject.Modified, 0);
    EXPECT_TRUE(ui.Messages().empty());

    // Nothing selected: the message, and the editor never runs.
    bool ran = false;
    EXPECT_FALSE(quorin::EditCiSpeech(*doc, std::nullopt, [&](CCiSpeech&) { return ran = true; }));
    EXPECT_FALSE(quorin::DeleteCiDevice(*doc, std::nullopt));
    EXPECT_FALSE(ran);
    EXPECT_EQ(ui.Texts(), (QStringList{"Please make a selection!", "Please make a selection!"}));
}

TEST_F(CiDataEditing, AddMakesPreAndPostRowsAndCancelAddsNothing)
{
    EXPECT_FALSE(quorin::AddCiDevice(*doc, [](CCiDevice&) { return false; }));
    EXPECT_FALSE(quorin::AddCiSpeech(*doc, true, [](CCiSpeech&) { return false; }));
    EXPECT_EQ(doc->m_subject.Modified, 0);

    const auto typed = [](CCiSpeech& r) {
        r.TestType = "Discrimination";
        r.TimeIS = 9;
        return true;
    };
    ASSERT_TRUE(quorin::AddCiSpeech(*doc, false, typed));
    ASSERT_TRUE(quorin::AddCiSpeech(*doc, true, typed));
    ASSERT_EQ(doc->m_ciSpeechList.size(), 2u);
    EXPECT_TRUE(quorin::IsPreImplant(doc->m_ciSpeechList[0]));
    EXPECT_EQ(doc->m_ciSpeechList[0].TimeIS, 0);
    EXPECT_EQ(doc->m_ciSpeechList[1].DataType, "Post Implant");
    EXPECT_EQ(doc->m_ciSpeechList[1].TimeIS, 9);
    EXPECT_EQ(doc->m_ciSpeechList[1].Index, -1);
    EXPECT_EQ(doc->m_subject.Modified, 1);
}

TEST_F(CiDataEditing, ListTextsShowUnknownValuesAsEmptyCells)
{
    CCiDevice d;
    d.Ear = "Left";
    d.AgeAtImplant = 30;
    EXPECT_EQ(quorin::CiDeviceRowTexts(d).at(5), "2yr,6mo");
    d.AgeAtImplant = -1;
    EXPECT_EQ(quorin::CiDeviceRowTexts(d).at(5), "");
    EXPECT_EQ(quorin::CiDeviceRowTexts(d).size(), 10);

    CCiSpeech s = Row("Word Recognition", "PBK");
    s.Score = 3.0f;
    s.TimeIS = 25;
    EXPECT_EQ(quorin::CiSpeechRowTexts(s, true),
              (QStringList{"Word Recognition", "-1", "PBK", "", "3.00", "2yrs 1mos"}));
    EXPECT_EQ(quorin::CiSpeechRowTexts(s, false).size(), 5);
    s.Score = -999.0f;
    s.TimeIS = -1;
    EXPECT_EQ(quorin::CiSpeechRowTexts(s, true).mid(4), (QStringList{"", ""}));
}

TEST_F(CiDataEditing, AgeAtImplantNeedsARealBirthNotAfterARealSurgery)
{
    EXPECT_EQ(quorin::AgeAtImplantMonths(*doc, "3/7/2009", "9/7/2010"), 18);
    EXPECT_EQ(quorin::AgeAtImplantMonths(*doc, " 03/07/2009 ", "03-07-2009"), 0);
    EXPECT_EQ(quorin::AgeAtImplantMonths(*doc, "", "9/7/2010"), std::nullopt);
    EXPECT_EQ(quorin::AgeAtImplantMonths(*doc, "3/7/2009", ""), std::nullopt);
    EXPECT_EQ(quorin::AgeAtImplantMonths(*doc, "3/7/2009", "1/1/1900"), std::nullopt);
    EXPECT_EQ(quorin::AgeAtImplantMonths(*doc, "01/01/1901", "9/7/2010"), std::nullopt);
    EXPECT_EQ(quorin::AgeAtImplantMonths(*doc, "3/7/2009", "3/6/2009"), std::nullopt);
    EXPECT_EQ(quorin::AgeAtImplantMonths(*doc, "3/7/2009", "2/30/2010"), std::nullopt);
}

} // namespace
