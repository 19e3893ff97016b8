// The bulk runner against the real registry: one transaction per subject, the reasons of
// every subject not committed, Cancel, the save question and reload, and the Audiogram
// Manager status after the commit.

#include "document/CBulkUpdate.h"
#include "document/SessionValues.h"
#include "app/DocumentFixture.h"
#include "support/RawRegistry.h"

#include <filesystem>
#include <functional>

using quorin::BulkResult;
using quorin::CBulkUpdate;
using quorin::UserInterface;
using quorin::test::DistinctSubject;
using quorin::test::DocumentTest;
using quorin::test::RawRegistry;

namespace {

// A job over every subject, oldest first, whose update writes into each set of the save;
// a device named "Broken" is refused by the test's trigger.
class TestJob : public quorin::BulkJob {
public:
    bool Candidates(CQuorinDoc& document, std::vector<CSubjectLink>& out) override
    {
        MyADO& db = document.m_db;
        if (!quorin::RunText(db, QStringLiteral("select SubjectId, Unit from subjects order by SubjectId")))
            return false;
        for (; !db.IsEOF(); db.MoveNext()) {
            CSubjectLink link;
            link.SubjectId = db.GetIntField("SubjectId");
            link.Unit = QString::number(db.GetIntField("Unit"));
            out.push_back(link);
        }
        return true;
    }
    std::optional<QString> Check(CQuorinDoc& document, CSubjectLink& link) override
    {
        interactiveSeen.push_back(document.Interactive);
        return check ? check(link) : std::nullopt;
    }
    std::optional<QString> Update(CQuorinDoc& document, const CSubjectLink& link) override
    {
        interactiveSeen.push_back(document.Interactive);
        updated.push_back(link.SubjectId);
        document.m_subject.Notes = QStringLiteral("run 1");
        CCiDevice device;
        device.Ear = "Left";
        device.Device = link.SubjectId == broken ? "Broken" : "Nucleus 7";
        document.m_ciData.Devices.push_back(device);
        document.m_ciData.HasCiData = 1;
        CCiSpeech row;
        row.DataType = "Post Implant";
        row.TestName = "CNC";
        document.m_ciSpeechList.push_back(row);
        if (!document.SaveSubject())
            return QString::fromLatin1(quorin::kReasonSaveFailed);
        if (link.SubjectId == givenUp)
            return QStringLiteral("after the save");
        return std::nullopt;
    }

    int broken = -1, givenUp = -1;
    std::function<std::optional<QString>(CSubjectLink&)> check;
    std::vector<int> interactiveSeen;
    std::vector<int> updated;
};

class BulkUpdate : public DocumentTest {
protected:
    // A stored subject with its own name and unit and a device, and an Audiogram Manager
    // patient of the same unit and birth date.
    int StoreSubject(const QString& last, int unit)
    {
        doc->ClearDocument();
        doc->m_subject = DistinctSubject();
        doc->m_subject.Lastname = last;
        doc->m_subject.Unit = QString::number(unit);
        doc->m_ciData.HasCiData = 1;
        CCiDevice d;
        d.Ear = "Right";
        d.Device = "Clarion";
        doc->m_ciData.Devices.push_back(d);
        EXPECT_EQ(doc->SaveSubject(), 1);
        registry.ExecRaw("Aud", "insert into info (PatientNum, Birthdate, Velmar) values (" + std::to_string(unit)
                                    + ", '1987-04-09 00:00:00.000', 'before')");
        const int id = doc->m_subject.SubjectID;
        doc->ClearDocument();
        return id;
    }

    // Everything the registry holds of a subject.
    std::string Rows(int id) const
    {
        RawRegistry raw(registry.Folder());
        const std::string k = " where SubjectId = " + std::to_string(id);
        return raw.dump("select * from subjects" + k) + "|" + raw.dump("select * from cidata" + k) + "|"
               + raw.dump("select * from CiDevice" + k) + "|" + raw.dump("select * from cispeech" + k);
    }
    QString Velmar(int unit) const
    {
        return Scalar("Aud", QStringLiteral("select Velmar from info where PatientNum = %1").arg(unit), "Velmar");
    }
    BulkResult Run(TestJob& job) { return CBulkUpdate(*doc).Run(job); }
};

} // namespace

// A set refused by the server, or a failure of the job after the save, takes back the
// whole subject, even the sets committed before; the others are stored whole with
// their status sent after the commit.
TEST_F(BulkUpdate, EachSubjectIsCommittedAloneAndAFailedOneKeepsEveryRowAndItsStatus)
{
    const int a = StoreSubject("Avery", 101), b = StoreSubject("Blake", 102), c = StoreSubject("Casey", 103);
    registry.ExecRaw("Quorin", "create trigger refuse_device before insert on CiDevice "
                               "when new.Device = 'Broken' begin select raise(abort, 'refused'); end");
    const std::string beforeA = Rows(a), beforeB = Rows(b);
    TestJob job;
    job.givenUp = a;
    job.broken = b;
    const BulkResult result = Run(job);
    EXPECT_TRUE(result.ran);
    EXPECT_EQ(result.committed, std::vector<int>{c});
    EXPECT_EQ(result.ReasonFor(a), "after the save");
    EXPECT_EQ(result.ReasonFor(b), "save failed");
    EXPECT_EQ(Rows(a), beforeA);
    EXPECT_EQ(Rows(b), beforeB);
    EXPECT_EQ(Velmar(101), "before");
    EXPECT_EQ(Velmar(102), "before");
    EXPECT_EQ(Velmar(103), "No");
    EXPECT_EQ(Count("Quorin", QStringLiteral("select count(*) as num from CiDevice where SubjectId = %1").arg(c)), 2);
    EXPECT_EQ(job.interactiveSeen, std::vector<int>(6, 0));
    EXPECT_EQ(doc->Interactive, 1);
    // The device set's own ROLLBACK ended the subject's transaction: the runner sent no
    // second one (3903).
    const std::vector<std::string> errors = TakeErrors();
    EXPECT_FALSE(errors.empty()); // the trigger's refusal
    for (const std::string& e : errors)
        EXPECT_EQ(e.find("no corresponding BEGIN TRANSACTION"), std::string::npos) << e;
    ASSERT_EQ(doc->m_db.RunTextQuery("SELECT @@TRANCOUNT AS t"), 1);
    EXPECT_EQ(doc->m_db.GetIntField("t"), 0);
}

TEST_F(BulkUpdate, ChecksGiveReasonsAndASubjectGoneBeforeItsTurnIsNotWrittenAsANewOne)
{
    const int a = StoreSubject("Avery", 101), b = StoreSubject("Blake", 102), c = StoreSubject("Casey", 103);
    TestJob job;
    job.check = [&](CSubjectLink& link) -> std::optional<QString> {
        if (link.SubjectId == b)
            return QStringLiteral("no KV Number");
        if (link.SubjectId == c)
            registry.ExecRaw("Quorin", "delete from subjects where SubjectId = " + std::to_string(c));
        return std::nullopt;
    };
    const BulkResult result = Run(job);
    EXPECT_EQ(result.candidates, 3);
    EXPECT_EQ(job.updated, std::vector<int>{a});
    EXPECT_EQ(result.committed, std::vector<int>{a});
    EXPECT_EQ(result.ReasonFor(b), "no KV Number");
    EXPECT_EQ(result.ReasonFor(c), "not found");
    EXPECT_EQ(Count("Quorin", "select count(*) as num from subjects"), 2);
    EXPECT_EQ(ui.ProgressTexts(),
              (QStringList{"Checking subject 1 of 3", "Checking subject 2 of 3", "Checking subject 3 of 3",
                           "Updating subject 1 of 2", "Updating subject 2 of 2"}));
}

TEST_F(BulkUpdate, CancelWhileUpdatingKeepsWhatWasCommittedAndLeavesTheRestAlone)
{
    const int a = StoreSubject("Avery", 101), b = StoreSubject("Blake", 102), c = StoreSubject("Casey", 103);
    const std::string before = Rows(b) + Rows(c);
    ui.CancelAtStep(3 + 2); // three checks, one update, then Cancel before the second
    TestJob job;
    const BulkResult result = Run(job);
    EXPECT_TRUE(result.cancelled);
    EXPECT_EQ(result.committed, std::vector<int>{a});
    EXPECT_EQ(result.ReasonFor(b), "not processed");
    EXPECT_EQ(result.ReasonFor(c), "not processed");
    EXPECT_EQ(Rows(b) + Rows(c), before);
    EXPECT_EQ(doc->Interactive, 1);
    EXPECT_FALSE(ui.ProgressOpen());
}

TEST_F(BulkUpdate, CancelWhileCheckingUpdatesNothing)
{
    const int a = StoreSubject("Avery", 101), b = StoreSubject("Blake", 102);
    const std::string before = Rows(a) + Rows(b);
    ui.CancelAtStep(2); // the first subject checked, then Cancel
    TestJob job;
    const BulkResult result = Run(job);
    EXPECT_TRUE(result.cancelled);
    EXPECT_TRUE(result.committed.empty() && job.updated.empty());
    EXPECT_EQ(result.ReasonFor(a), "not processed");
    EXPECT_EQ(result.ReasonFor(b), "not processed");
    EXPECT_EQ(Rows(a) + Rows(b), before);
}

// Unsaved edits are offered for saving first. A save that stops ends the run before it
// starts and keeps the edits; a save that works is followed by the run, and the open
// subject comes back with the run's update.
TEST_F(BulkUpdate, UnsavedChangesAreSavedFirstAndASaveThatStopsEndsTheRunKeepingTheEdits)
{
    const int a = StoreSubject("Avery", 101);
    const std::string before = Rows(a);
    ASSERT_NE(doc->LoadSubjectById(a), 0);
    doc->m_subject.Firstname = ""; // required: the save says so and stops
    doc->m_subject.City = "Lincoln";
    doc->m_subject.Modified = 1;
    ui.AnswerNext(UserInterface::Answer::Yes);
    TestJob stopped;
    const BulkResult result = Run(stopped);
    EXPECT_TRUE(result.stoppedBySave);
    EXPECT_FALSE(result.ran);
    EXPECT_TRUE(stopped.interactiveSeen.empty());
    ASSERT_EQ(ui.Messages().size(), 2u);
    EXPECT_EQ(ui.Messages()[1].icon, UserInterface::Icon::Stop);
    EXPECT_EQ(doc->m_subject.City, "Lincoln");
    EXPECT_EQ(doc->m_subject.Modified, 1);
    EXPECT_EQ(doc->Interactive, 1);
    EXPECT_EQ(Rows(a), before);

    doc->m_subject.Firstname = "Morgan";
    ui.AnswerNext(UserInterface::Answer::Yes);
    TestJob job;
    EXPECT_EQ(Run(job).Count(), 1);
    EXPECT_EQ(ui.Texts().size(), 3);
    EXPECT_EQ(doc->m_subject.SubjectID, a);
    EXPECT_EQ(doc->m_subject.Notes, "run 1");
    EXPECT_EQ(doc->m_subject.City, "Lincoln");
    EXPECT_EQ(doc->m_subject.Modified, 0);
    EXPECT_EQ(doc->m_ciData.Devices.size(), 2u);
}

TEST_F(BulkUpdate, AnUnreachableAudiogramManagerIsReportedOnceARun)
{
    const int a = StoreSubject("Avery", 101), b = StoreSubject("Blake", 102);
    // A fresh document, so that the Audiogram Manager is connected during the run.
    LogInAs(quorin::test::kTestLogin, quorin::test::kTestPassword);
    std::filesystem::rename(std::filesystem::path(registry.Folder()) / "Aud.db",
                            std::filesystem::path(registry.Folder()) / "Aud.gone");
    TestJob job;
    const BulkResult result = Run(job);
    EXPECT_EQ(result.committed, (std::vector<int>{a, b}));
    EXPECT_EQ(result.amStatusNotSent, 2);
    EXPECT_EQ(ui.Texts(), QStringList{"Unable to connect to Database Aud!"});
    EXPECT_EQ(ui.Messages()[0].icon, UserInterface::Icon::Stop);
    TakeErrors();
}
