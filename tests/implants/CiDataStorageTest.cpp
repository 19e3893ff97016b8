// Cochlear-implant history, devices and speech rows through the real procedures.

#include "app/DocumentFixture.h"

using quorin::test::DistinctSubject;
using quorin::test::DocumentTest;

namespace {

CCiData DistinctHistory()
{
    CCiData ci;
    ci.HasCiData = 1;
    ci.DurationPriorL = 11;
    ci.DurationPriorR = 12;
    ci.DegreePriorL = "Severe";
    ci.DegreePriorR = "Profound";
    ci.NatureL = "Progressive";
    ci.NatureR = "Congenital";
    ci.EtiologyL = "CMV";
    ci.EtiologyR = "Ushers";
    ci.Processor1 = "Nucleus 24 3G";
    ci.Processor2 = "Clarion PSP";
    ci.HaL = 7;
    ci.HaR = 8;
    ci.HaTimeL = 13;
    ci.HaTimeR = 14;
    ci.DurationUnaidedL = 15;
    ci.DurationUnaidedR = 16;
    return ci;
}

CCiDevice Device(const char* ear, const char* device, int age)
{
    CCiDevice d;
    d.Ear = ear;
    d.Device = device;
    d.Positioner = "No";
    d.SurgDate = "02/03/2010";
    d.AgeAtImplant = age;
    d.StimDate = "03/04/2010";
    d.Status = "In Use";
    d.Surgeon = "Dr. O'Neil";
    d.Hospital = "Boys Town";
    d.ExplantDate = "";
    return d;
}

CCiSpeech SpeechRow(const char* type, const char* name, float score, int time)
{
    CCiSpeech s;
    s.DataType = "Post Implant";
    s.TestType = type;
    s.TestName = name;
    s.Condition = "Binaural CI";
    s.Score = score;
    s.TimeIS = time;
    return s;
}

class CiDataStorage : public DocumentTest {
protected:
    int SaveSubjectWithCi()
    {
        doc->m_subject = DistinctSubject();
        doc->m_ciData = DistinctHistory();
        doc->m_ciData.Devices = {Device("Left", "Nucleus 24k", 30), Device("Right", "Clarion CII", 42)};
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
    ASSERT_NE(doc->LoadSubjectById(id), 0);
    const CCiData& ci = doc->m_ciData;
    const CCiData typed = DistinctHistory();
    EXPECT_EQ(ci.HasCiData, 1);
    EXPECT_EQ(ci.DurationPriorL, typed.DurationPriorL);
    EXPECT_EQ(ci.DurationPriorR, typed.DurationPriorR);
    EXPECT_EQ(ci.DegreePriorL, typed.DegreePriorL);
    EXPECT_EQ(ci.DegreePriorR, typed.DegreePriorR);
    EXPECT_EQ(ci.NatureL, typed.NatureL);
    EXPECT_EQ(ci.NatureR, typed.NatureR);
    EXPECT_EQ(ci.EtiologyL, typed.EtiologyL);
    EXPECT_EQ(ci.EtiologyR, typed.EtiologyR);
    EXPECT_EQ(ci.Processor1, typed.Processor1);
    EXPECT_EQ(ci.Processor2, typed.Processor2);
    EXPECT_EQ(ci.HaL, typed.HaL);
    EXPECT_EQ(ci.HaR, typed.HaR);
    EXPECT_EQ(ci.HaTimeL, typed.HaTimeL);
    EXPECT_EQ(ci.HaTimeR, typed.HaTimeR);
    EXPECT_EQ(ci.DurationUnaidedL, typed.DurationUnaidedL);
    EXPECT_EQ(ci.DurationUnaidedR, typed.DurationUnaidedR);

    ASSERT_EQ(ci.Devices.size(), 2u);
    const CCiDevice& d = ci.Devices[1];
    EXPECT_EQ(d.Ear, "Right");
    EXPECT_EQ(d.Device, "Clarion CII");
    EXPECT_EQ(d.Positioner, "No");
    EXPECT_EQ(d.SurgDate, "02/03/2010");
    EXPECT_EQ(d.StimDate, "03/04/2010");
    EXPECT_EQ(d.AgeAtImplant, 42);
    EXPECT_EQ(d.Status, "In Use");
    EXPECT_EQ(d.Surgeon, "Dr. O'Neil");
    EXPECT_EQ(d.Hospital, "Boys Town");
    EXPECT_EQ(d.ExplantDate, "");

    ASSERT_EQ(doc->m_ciSpeechList.size(), 2u);
    const CCiSpeech& s = doc->m_ciSpeechList[1];
    EXPECT_EQ(s.Index, 1);
    EXPECT_EQ(s.DataType, "Post Implant");
    EXPECT_EQ(s.TestType, "Sentence Recognition");
    EXPECT_EQ(s.TestName, "HINT, Quiet");
    EXPECT_EQ(s.Condition, "Binaural CI");
    EXPECT_FLOAT_EQ(s.Score, 88.25f);
    EXPECT_EQ(s.TimeIS, 24);
    EXPECT_EQ(doc->m_ciSpeechList[0].Index, 0);
}

TEST_F(CiDataStorage, DeletingTheLastDeviceSticks)
{
    const int id = SaveSubjectWithCi();
    ASSERT_NE(doc->LoadSubjectById(id), 0);
    doc->m_ciData.Devices.clear();
    ASSERT_EQ(doc->SaveSubject(), 1);
    ASSERT_NE(doc->LoadSubjectById(id), 0);
    EXPECT_TRUE(doc->m_ciData.Devices.empty());
    // The history was typed, so it stays.
    EXPECT_EQ(doc->m_ciData.HasCiData, 1);
    EXPECT_EQ(doc->m_ciData.EtiologyR, "Ushers");
}

TEST_F(CiDataStorage, AHistoryTypedWithoutADeviceIsStored)
{
    doc->m_subject = DistinctSubject();
    doc->m_ciData = DistinctHistory();
    ASSERT_EQ(doc->SaveSubject(), 1);
    ASSERT_NE(doc->LoadSubjectById(doc->m_subject.SubjectID), 0);
    EXPECT_EQ(doc->m_ciData.HasCiData, 1);
    EXPECT_EQ(doc->m_ciData.Processor1, "Nucleus 24 3G");
}

TEST_F(CiDataStorage, AnOpenedButEmptyTabWritesNoHistoryAndRewritesTheSpeechRows)
{
    doc->m_subject = DistinctSubject();
    doc->m_ciData.HasCiData = 1;
    doc->m_ciSpeechList = {SpeechRow("Word Recognition", "CNC", 10.0f, 1)};
    ASSERT_EQ(doc->SaveSubject(), 1);
    EXPECT_EQ(Count("Quorin", "select count(*) as num from cidata"), 0);
    EXPECT_EQ(Count("Quorin", "select count(*) as num from cispeech"), 1);
    doc->m_ciSpeechList.push_back(SpeechRow("Discrimination", "ESP", 20.0f, 2));
    ASSERT_EQ(doc->SaveSubject(), 1);
    EXPECT_EQ(Count("Quorin", "select count(*) as num from cispeech"), 2);
}

TEST_F(CiDataStorage, WithoutTheFlagNothingIsWritten)
{
    doc->m_subject = DistinctSubject();
    doc->m_ciData = DistinctHistory();
    doc->m_ciData.HasCiData = 0;
    doc->m_ciSpeechList = {SpeechRow("Word Recognition", "CNC", 10.0f, 1)};
    ASSERT_EQ(doc->SaveSubject(), 1);
    EXPECT_EQ(Count("Quorin", "select count(*) as num from cidata"), 0);
    EXPECT_EQ(Count("Quorin", "select count(*) as num from cispeech"), 0);
}

TEST_F(CiDataStorage, AFailedDeviceWriteKeepsTheStoredSetAndTheFlags)
{
    const int id = SaveSubjectWithCi();
    ASSERT_NE(doc->LoadSubjectById(id), 0);
    registry.ExecRaw("Quorin", "create trigger refuse_device before insert on CiDevice "
                               "when new.Device = 'Broken' begin select raise(abort, 'refused'); end");
    doc->m_subject.Modified = 1;
    doc->m_ciData.DegreePriorL = "Moderate-Profound";
    doc->m_ciData.Devices.push_back(Device("Left", "Broken", 50));
    EXPECT_EQ(doc->SaveSubject(), 0);
    EXPECT_FALSE(TakeErrors().empty());
    EXPECT_EQ(doc->m_subject.Modified, 1);
    EXPECT_EQ(Count("Quorin", "select count(*) as num from cidevice"), 2);
    EXPECT_EQ(Scalar("Quorin", "select DegreePriorL from cidata", "DegreePriorL"), "Severe");
    EXPECT_EQ(doc->m_ciData.Devices.size(), 3u);
}

TEST_F(CiDataStorage, AFailedSpeechRowWriteKeepsTheStoredRowsAndTheFlags)
{
    const int id = SaveSubjectWithCi();
    ASSERT_NE(doc->LoadSubjectById(id), 0);
    registry.ExecRaw("Quorin", "create trigger refuse_row before insert on cispeech "
                               "when new.TestName = 'Broken' begin select raise(abort, 'refused'); end");
    doc->m_subject.Modified = 1;
    doc->m_ciSpeechList.front().Score = 1.0f;
    doc->m_ciSpeechList.push_back(SpeechRow("Discrimination", "Broken", 5.0f, 3));
    EXPECT_EQ(doc->SaveSubject(), 0);
    EXPECT_FALSE(TakeErrors().empty());
    EXPECT_EQ(doc->m_subject.Modified, 1);
    // Neither emptied nor half rewritten: the two stored rows with their old scores.
    EXPECT_EQ(Count("Quorin", "select count(*) as num from cispeech"), 2);
    EXPECT_EQ(Count("Quorin", "select count(*) as num from cispeech where Score = 62.5"), 1);
    EXPECT_EQ(doc->m_ciSpeechList.size(), 3u);
}
