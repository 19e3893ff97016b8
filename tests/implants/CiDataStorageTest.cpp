// Cochlear-implant history, devices and speech rows through the real procedures.

#include "CidFixture.h"
#include "support/RawRegistry.h"

using quorin::test::DeviceFields;
using quorin::test::DistinctSubject;
using quorin::test::DocumentTest;
using quorin::test::HistoryFields;
using quorin::test::SpeechFields;

namespace {

CCiDevice Device(const char* ear, const char* device, int age)
{
    return {.Ear = ear, .Device = device, .Positioner = "No", .SurgDate = "02/03/2010", .AgeAtImplant = age,
            .StimDate = "03/04/2010", .Status = "In Use", .Surgeon = "Dr. O'Neil", .Hospital = "Boys Town",
            .ExplantDate = ""};
}

CCiSpeech SpeechRow(const char* type, const char* name, float score, int time)
{
    return {.Index = -1, .DataType = "Post Implant", .TestType = type, .TestName = name, .Condition = "Binaural CI",
            .Score = score, .TimeIS = time};
}

class CiDataStorage : public DocumentTest {
protected:
    int SaveSubjectWithCi()
    {
        doc->m_subject = DistinctSubject();
        doc->m_ciData = {.HasCiData = 1, .DurationPriorL = 11, .DurationPriorR = 12, .DegreePriorL = "Severe",
                         .DegreePriorR = "Profound", .NatureL = "Progressive", .NatureR = "Congenital",
                         .EtiologyL = "CMV", .EtiologyR = "Ushers", .Processor1 = "Nucleus 24 3G",
                         .Processor2 = "Clarion PSP", .HaL = 7, .HaR = 8, .HaTimeL = 13, .HaTimeR = 14,
                         .DurationUnaidedL = 15, .DurationUnaidedR = 16,
                         .Devices = {Device("Left", "Nucleus 24k", 30), Device("Right", "Clarion CII", 42)}};
        doc->m_ciSpeechList = {SpeechRow("Word Recognition", "CNC", 62.5f, 12),
                               SpeechRow("Sentence Recognition", "HINT, Quiet", 88.25f, 24)};
        EXPECT_EQ(doc->SaveSubject(), 1);
        return doc->m_subject.SubjectID;
    }
};

} // namespace

TEST_F(CiDataStorage, HistoryDevicesAndSpeechRowsLoadBackEqual)
{
    const int id = SaveSubjectWithCi();
    const CCiData typed = doc->m_ciData;
    const std::vector<CCiSpeech> rows = doc->m_ciSpeechList;
    ASSERT_NE(doc->LoadSubjectById(id), 0);
    // The hearing-aid numbers too: no control shows them, and a save must not zero them.
    EXPECT_EQ(HistoryFields(doc->m_ciData), HistoryFields(typed));
    ASSERT_EQ(doc->m_ciData.Devices.size(), 2u);
    EXPECT_EQ(DeviceFields(doc->m_ciData.Devices[1]), DeviceFields(typed.Devices[1]));
    ASSERT_EQ(doc->m_ciSpeechList.size(), 2u);
    CCiSpeech second = rows[1];
    second.Index = 1; // numbered in load order
    EXPECT_EQ(SpeechFields(doc->m_ciSpeechList[1]), SpeechFields(second));
    EXPECT_EQ(doc->m_ciSpeechList[0].Index, 0);
}

TEST_F(CiDataStorage, AFailedDeviceOrSpeechRowWriteKeepsTheStoredSetAndTheFlags)
{
    const int id = SaveSubjectWithCi();
    ASSERT_NE(doc->LoadSubjectById(id), 0);
    registry.ExecRaw("Quorin", "create trigger refuse_device before insert on CiDevice when new.Device = 'Broken' "
                               "begin select raise(abort, 'refused'); end; create trigger refuse_row before insert "
                               "on cispeech when new.TestName = 'Broken' begin select raise(abort, 'refused'); end");
    doc->m_subject.Modified = 1;
    doc->m_ciData.DegreePriorL = "Moderate-Profound";
    doc->m_ciData.Devices.push_back(Device("Left", "Broken", 50));
    EXPECT_EQ(doc->SaveSubject(), 0);
    EXPECT_FALSE(TakeErrors().empty());
    EXPECT_EQ(doc->m_subject.Modified, 1);
    EXPECT_EQ(Count("Quorin", "select count(*) as num from cidevice"), 2);
    EXPECT_EQ(Scalar("Quorin", "select DegreePriorL from cidata", "DegreePriorL"), "Severe");
    EXPECT_EQ(doc->m_ciData.Devices.size(), 3u);

    // The devices stored, a speech row refused: neither emptied nor half rewritten.
    doc->m_ciData.Devices.pop_back();
    doc->m_ciSpeechList.front().Score = 1.0f;
    doc->m_ciSpeechList.push_back(SpeechRow("Discrimination", "Broken", 5.0f, 3));
    EXPECT_EQ(doc->SaveSubject(), 0);
    EXPECT_FALSE(TakeErrors().empty());
    EXPECT_EQ(doc->m_subject.Modified, 1);
    EXPECT_EQ(Count("Quorin", "select count(*) as num from cispeech"), 2);
    EXPECT_EQ(Count("Quorin", "select count(*) as num from cispeech where Score = 62.5"), 1);
    EXPECT_EQ(doc->m_ciSpeechList.size(), 3u);

    // Without the refused row, deleting every device sticks; the typed history stays.
    doc->m_ciSpeechList.pop_back();
    doc->m_ciData.Devices.clear();
    ASSERT_EQ(doc->SaveSubject(), 1);
    ASSERT_NE(doc->LoadSubjectById(id), 0);
    EXPECT_TRUE(doc->m_ciData.Devices.empty());
    EXPECT_EQ(doc->m_ciData.EtiologyR, "Ushers");
}

// The history is written over the stored one in place and the unchanged devices and
// speech rows are left alone: the change history holds the one field that changed, not
// whole rows removed and added again.
TEST_F(CiDataStorage, AChangedHistoryFieldIsLoggedAloneAsAnUpdate)
{
    const int id = SaveSubjectWithCi();
    ASSERT_NE(doc->LoadSubjectById(id), 0);
    const quorin::test::RawRegistry log(registry.Folder());
    const std::int64_t logged = log.number("select max(ChangeId) from changelog");
    doc->m_subject.Modified = 1;
    doc->m_ciData.DegreePriorL = "Profound";
    ASSERT_EQ(doc->SaveSubject(), 1);
    EXPECT_EQ(log.dump("select TableName, ChangeKind, ColumnName, OldValue, NewValue from changelog where ChangeId > "
                       + std::to_string(logged)),
              "cidata|update|DegreePriorL|Severe|Profound|\n");
}

// A changed device is removed and added alone, a removed speech row goes alone; the other
// rows stay untouched, and everything reads back as typed.
TEST_F(CiDataStorage, OnlyTheChangedDeviceAndTheRemovedSpeechRowAreWritten)
{
    const int id = SaveSubjectWithCi();
    ASSERT_NE(doc->LoadSubjectById(id), 0);
    ASSERT_EQ(doc->m_ciData.Devices.size(), 2u);
    const quorin::test::RawRegistry log(registry.Folder());
    const std::int64_t logged = log.number("select max(ChangeId) from changelog");
    doc->m_subject.Modified = 1;
    doc->m_ciData.Devices[1].Status = "Explanted";
    ASSERT_EQ(doc->m_ciSpeechList.size(), 2u);
    doc->m_ciSpeechList.erase(doc->m_ciSpeechList.begin());
    const CCiData typed = doc->m_ciData;
    ASSERT_EQ(doc->SaveSubject(), 1);
    const std::string since = " and ChangeId > " + std::to_string(logged);
    EXPECT_EQ(log.number("select count(distinct ChangeKind || RowKey) from changelog where TableName = 'CiDevice'" + since),
              2)
        << log.dump("select ChangeKind, RowKey, ColumnName, OldValue from changelog where TableName = 'CiDevice'" + since);
    EXPECT_EQ(log.number("select count(distinct ChangeKind || RowKey) from changelog where TableName = 'cispeech'" + since),
              1);
    EXPECT_EQ(log.number("select count(*) from changelog where TableName not in ('CiDevice', 'cispeech')" + since), 0);
    ASSERT_NE(doc->LoadSubjectById(id), 0);
    ASSERT_EQ(doc->m_ciData.Devices.size(), 2u);
    for (std::size_t i = 0; i < 2; ++i)
        EXPECT_EQ(DeviceFields(doc->m_ciData.Devices[i]), DeviceFields(typed.Devices[i]));
    EXPECT_EQ(doc->m_ciSpeechList.size(), 1u);
}
