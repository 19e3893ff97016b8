// The bulk runner against the real registry: one transaction per subject, the save
// question and reload, Interactive, progress and Cancel, the Audiogram Manager status
// after the commit, and the reasons of every subject not committed.

#include "document/CBulkUpdate.h"
#include "document/SessionValues.h"
#include "app/DocumentFixture.h"
#include "support/RawRegistry.h"

#include <filesystem>
#include <functional>
#include <set>

using quorin::BulkResult;
using quorin::CBulkUpdate;
using quorin::UserInterface;
using quorin::test::DistinctSubject;
using quorin::test::DocumentTest;
using quorin::test::RawRegistry;

namespace {

// A job over every subject, oldest first, whose update writes into each set of the save.
class TestJob : public quorin::BulkJob {
public:
    bool Candidates(CQuorinDoc& document, std::vector<CSubjectLink>& out) override
    {
        ++candidatesAsked;
        if (candidatesFail)
            return false;
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
        if (check)
            return check(link);
        return std::nullopt;
    }

    std::optional<QString> Update(CQuorinDoc& document, const CSubjectLink& link) override
    {
        interactiveSeen.push_back(document.Interactive);
        updated.push_back(link.SubjectId);
        if (update)
            return update(document, link);
        document.m_subject.Notes = QStringLiteral("run %1").arg(run);
        CCiDevice device;
        device.Ear = "Left";
        device.Device = brokenDevice.count(link.SubjectId) ? "Broken" : "Nucleus 7";
        document.m_ciData.Devices.push_back(device);
        document.m_ciData.HasCiData = 1;
        CCiSpeech row;
        row.DataType = "Post Implant";
        row.TestName = "CNC";
        document.m_ciSpeechList.push_back(row);
        CSpeechTest test;
        test.TestName = "PPVT";
        document.m_speechTestList.push_back(test);
        if (!document.SaveSubject())
            return QString::fromLatin1(quorin::kReasonSaveFailed);
        return std::nullopt;
    }

    int run = 1;
    bool candidatesFail = false;
    int candidatesAsked = 0;
    std::set<int> brokenDevice;
    std::function<std::optional<QString>(CSubjectLink&)> check;
    std::function<std::optional<QString>(CQuorinDoc&, const CSubjectLink&)> update;
    std::vector<int> interactiveSeen;
    std::vector<int> updated;
};

class BulkUpdate : public DocumentTest {
protected:
    // A stored subject with its own name and unit, implant history and a device, and an
    // Audiogram Manager patient of the same unit and birth date.
    int StoreSubject(const QString& last, int unit)
    {
        doc->ClearDocument();
        CSubject s = DistinctSubject();
        s.Lastname = last;
        s.Unit = QString::number(unit);
        doc->m_subject = s;
        doc->m_ciData.HasCiData = 1;
        doc->m_ciData.DegreePriorL = "Severe";
        CCiDevice d;
        d.Ear = "Right";
        d.Device = "Clarion";
        doc->m_ciData.Devices.push_back(d);
        EXPECT_EQ(doc->SaveSubject(), 1);
        const int id = doc->m_subject.SubjectID;
        registry.ExecRaw("Aud", "insert into info (PatientNum, Birthdate, Velmar) values (" + std::to_string(unit)
                                    + ", '1987-04-09 00:00:00.000', 'before')");
        doc->ClearDocument();
        return id;
    }

    // Everything the registry holds of a subject, and its Audiogram Manager status.
    std::string Rows(int id) const
    {
        RawRegistry raw(registry.Folder());
        const std::string k = std::to_string(id);
        return raw.dump("select * from subjects where SubjectId = " + k) + "|"
               + raw.dump("select * from cidata where SubjectId = " + k) + "|"
               + raw.dump("select * from CiDevice where SubjectId = " + k) + "|"
               + raw.dump("select * from cispeech where SubjectId = " + k) + "|"
               + raw.dump("select TestName from speech where SubjectId = " + k);
    }

    QString Velmar(int unit) const
    {
        return Scalar("Aud", QStringLiteral("select Velmar from info where PatientNum = %1").arg(unit), "Velmar");
    }

    QString Notes(int id) const
    {
        return Scalar("Quorin", QStringLiteral("select Notes from subjects where SubjectId = %1").arg(id), "Notes");
    }

    BulkResult Run(TestJob& job)
    {
        CBulkUpdate runner(*doc);
        return runner.Run(job);
    }

    static bool Mentions3903(const std::vector<std::string>& errors)
    {
        for (const std::string& e : errors)
            if (e.find("no corresponding BEGIN TRANSACTION") != std::string::npos)
                return true;
        return false;
    }
};

} // namespace

TEST_F(BulkUpdate, EachSubjectIsCommittedAloneAndAFailedOneKeepsEveryRowAndItsStatus)
{
    const int a = StoreSubject("Avery", 101);
    const int b = StoreSubject("Blake", 102);
    const int c = StoreSubject("Casey", 103);
    registry.ExecRaw("Quorin", "create trigger refuse_device before insert on CiDevice "
                               "when new.Device = 'Broken' begin select raise(abort, 'refused'); end");
    const std::string before = Rows(b);

    TestJob job;
    job.brokenDevice = {b};
    const BulkResult result = Run(job);

    EXPECT_TRUE(result.ran);
    EXPECT_EQ(result.Count(), 2);
    EXPECT_EQ(result.committed, (std::vector<int>{a, c}));
    ASSERT_EQ(result.others.size(), 1u);
    EXPECT_EQ(result.ReasonFor(b), "save failed");
    // The subject row had been rewritten and the speech sets came after the failing
    // device set: nothing of it stayed, not even a set committed on its own.
    EXPECT_EQ(Rows(b), before);
    EXPECT_EQ(Velmar(102), "before");
    // The others are stored whole, their status sent after the commit.
    for (const int id : {a, c}) {
        EXPECT_EQ(Notes(id), "run 1");
        EXPECT_EQ(Count("Quorin", QStringLiteral("select count(*) as num from CiDevice where SubjectId = %1").arg(id)), 2);
        EXPECT_EQ(Count("Quorin", QStringLiteral("select count(*) as num from cispeech where SubjectId = %1").arg(id)), 1);
        EXPECT_EQ(Count("Quorin", QStringLiteral("select count(*) as num from speech where SubjectId = %1").arg(id)), 1);
    }
    EXPECT_EQ(Velmar(101), "No");
    EXPECT_EQ(Velmar(103), "No");
    // The device set's own ROLLBACK ended the subject's transaction; the runner did not
    // send a second one.
    const std::vector<std::string> errors = TakeErrors();
    EXPECT_FALSE(errors.empty()); // the trigger's refusal
    EXPECT_FALSE(Mentions3903(errors));
    ASSERT_EQ(doc->m_db.RunTextQuery("SELECT @@TRANCOUNT AS t"), 1);
    EXPECT_EQ(doc->m_db.GetIntField("t"), 0);
}

TEST_F(BulkUpdate, AFailureOutsideTheSetsIsRolledBackByTheRunner)
{
    const int a = StoreSubject("Avery", 101);
    const int b = StoreSubject("Blake", 102);
    const std::string before = Rows(a);
    TestJob job;
    job.update = [&](CQuorinDoc& d, const CSubjectLink& link) -> std::optional<QString> {
        d.m_subject.Notes = "written, then given up";
        if (!d.SaveSubject())
            return QStringLiteral("save failed");
        if (link.SubjectId == a)
            return QStringLiteral("after the save");
        return std::nullopt;
    };
    const BulkResult result = Run(job);
    EXPECT_EQ(result.committed, std::vector<int>{b});
    EXPECT_EQ(result.ReasonFor(a), "after the save");
    EXPECT_EQ(Rows(a), before);
    EXPECT_EQ(Velmar(101), "before"); // never for a rolled-back subject
    EXPECT_EQ(Velmar(102), "No");
    EXPECT_TRUE(TakeErrors().empty());
    // The session is usable and outside any transaction.
    EXPECT_EQ(doc->m_db.RunTextQuery("SELECT @@TRANCOUNT AS t"), 1);
    EXPECT_EQ(doc->m_db.GetIntField("t"), 0);
}

TEST_F(BulkUpdate, ChecksGiveReasonsAndOnlyKeptSubjectsAreLoaded)
{
    const int a = StoreSubject("Avery", 101);
    const int b = StoreSubject("Blake", 102);
    const int c = StoreSubject("Casey", 103);
    TestJob job;
    job.check = [&](CSubjectLink& link) -> std::optional<QString> {
        if (link.SubjectId == b)
            return QStringLiteral("no KV Number");
        return std::nullopt;
    };
    const BulkResult result = Run(job);
    EXPECT_EQ(result.candidates, 3);
    EXPECT_EQ(job.updated, (std::vector<int>{a, c}));
    EXPECT_EQ(result.ReasonFor(b), "no KV Number");
    EXPECT_EQ(result.ReasonFor(a), "");
    EXPECT_EQ(ui.ProgressTexts(),
              (QStringList{"Checking subject 1 of 3", "Checking subject 2 of 3", "Checking subject 3 of 3",
                           "Updating subject 1 of 2", "Updating subject 2 of 2"}));
    EXPECT_EQ(ui.ProgressTotals(), (std::vector<int>{3, 2}));
}

TEST_F(BulkUpdate, ASubjectGoneBeforeItsTurnIsNotWrittenAsANewOne)
{
    const int a = StoreSubject("Avery", 101);
    const int b = StoreSubject("Blake", 102);
    TestJob job;
    job.check = [&](CSubjectLink& link) -> std::optional<QString> {
        if (link.SubjectId == b)
            registry.ExecRaw("Quorin", "delete from subjects where SubjectId = " + std::to_string(b));
        return std::nullopt;
    };
    const BulkResult result = Run(job);
    EXPECT_EQ(result.committed, std::vector<int>{a});
    EXPECT_EQ(result.ReasonFor(b), "not found");
    EXPECT_EQ(Count("Quorin", "select count(*) as num from subjects"), 1);
}

TEST_F(BulkUpdate, InteractiveIsZeroDuringTheRunAndOneAfterEveryEnding)
{
    StoreSubject("Avery", 101);
    StoreSubject("Blake", 102);
    {
        TestJob job;
        Run(job);
        EXPECT_EQ(job.interactiveSeen, (std::vector<int>{0, 0, 0, 0}));
        EXPECT_EQ(doc->Interactive, 1);
        EXPECT_EQ(doc->DeferAmStatus, 0);
    }
    {
        TestJob job;
        job.candidatesFail = true;
        const BulkResult result = Run(job);
        EXPECT_FALSE(result.ran);
        EXPECT_EQ(doc->Interactive, 1);
    }
    {
        TestJob job;
        job.update = [](CQuorinDoc&, const CSubjectLink&) -> std::optional<QString> { return QStringLiteral("no"); };
        Run(job);
        EXPECT_EQ(doc->Interactive, 1);
    }
    EXPECT_EQ(ui.WaitCursorDepth(), 0);
    EXPECT_GE(ui.WaitCursorShown(), 3);
    EXPECT_FALSE(ui.ProgressOpen());
}

TEST_F(BulkUpdate, CancelWhileUpdatingKeepsWhatWasCommittedAndLeavesTheRestAlone)
{
    std::vector<int> ids;
    for (int k = 0; k < 4; ++k)
        ids.push_back(StoreSubject(QStringLiteral("Subject%1").arg(k), 200 + k));
    std::vector<std::string> before;
    for (const int id : ids)
        before.push_back(Rows(id));
    ui.CancelAtStep(4 + 2); // four checks, one update, then Cancel before the second
    TestJob job;
    const BulkResult result = Run(job);
    EXPECT_TRUE(result.cancelled);
    EXPECT_EQ(result.committed, std::vector<int>{ids[0]});
    EXPECT_EQ(job.updated, std::vector<int>{ids[0]});
    EXPECT_EQ(Notes(ids[0]), "run 1");
    for (int k = 1; k < 4; ++k) {
        EXPECT_EQ(result.ReasonFor(ids[k]), "not processed");
        EXPECT_EQ(Rows(ids[k]), before[k]);
    }
    EXPECT_EQ(ui.ProgressTexts().last(), "Updating subject 2 of 4");
    EXPECT_EQ(doc->Interactive, 1);
}

TEST_F(BulkUpdate, CancelWhileCheckingUpdatesNothing)
{
    const int a = StoreSubject("Avery", 101);
    const int b = StoreSubject("Blake", 102);
    const int c = StoreSubject("Casey", 103);
    ui.CancelAtStep(2);
    TestJob job;
    const BulkResult result = Run(job);
    EXPECT_TRUE(result.cancelled);
    EXPECT_EQ(result.Count(), 0);
    EXPECT_TRUE(job.updated.empty());
    for (const int id : {a, b, c})
        EXPECT_EQ(result.ReasonFor(id), "not processed");
    EXPECT_EQ(ui.ProgressTexts(), (QStringList{"Checking subject 1 of 3", "Checking subject 2 of 3"}));
}

TEST_F(BulkUpdate, UnsavedChangesAreSavedOnYesAndTheOpenSubjectComesBackUpdated)
{
    const int a = StoreSubject("Avery", 101);
    ASSERT_NE(doc->LoadSubjectById(a), 0);
    doc->m_subject.City = "Lincoln";
    doc->m_subject.Modified = 1;
    ui.AnswerNext(UserInterface::Answer::Yes);
    TestJob job;
    const BulkResult result = Run(job);
    EXPECT_EQ(result.Count(), 1);
    EXPECT_EQ(ui.Texts(), QStringList{"Save Current Subject?"});
    EXPECT_EQ(Scalar("Quorin", QStringLiteral("select City from subjects where SubjectId = %1").arg(a), "City"),
              "Lincoln");
    // Reloaded: the document shows the run's update, not the copy from before it.
    EXPECT_EQ(doc->m_subject.SubjectID, a);
    EXPECT_EQ(doc->m_subject.Notes, "run 1");
    EXPECT_EQ(doc->m_subject.City, "Lincoln");
    EXPECT_EQ(doc->m_subject.Modified, 0);
    EXPECT_EQ(doc->m_ciData.Devices.size(), 2u);
}

TEST_F(BulkUpdate, UnsavedChangesAreDroppedOnNoAndTheOpenSubjectIsReloaded)
{
    const int a = StoreSubject("Avery", 101);
    ASSERT_NE(doc->LoadSubjectById(a), 0);
    doc->m_subject.City = "Lincoln";
    doc->m_subject.Modified = 1;
    // Cancel runs nothing and keeps the edits.
    ui.AnswerNext(UserInterface::Answer::Cancel);
    TestJob cancelled;
    EXPECT_TRUE(Run(cancelled).stoppedBySave);
    EXPECT_EQ(cancelled.candidatesAsked, 0);
    EXPECT_EQ(doc->m_subject.City, "Lincoln");
    EXPECT_EQ(doc->Interactive, 1);

    ui.AnswerNext(UserInterface::Answer::No);
    TestJob job;
    Run(job);
    EXPECT_EQ(doc->m_subject.SubjectID, a);
    EXPECT_EQ(doc->m_subject.City, "Springfield");
    EXPECT_EQ(doc->m_subject.Notes, "run 1");
    EXPECT_EQ(doc->m_subject.Modified, 0);
}

TEST_F(BulkUpdate, ASaveThatStopsEndsTheRunBeforeItStartsAndKeepsTheEdits)
{
    const int a = StoreSubject("Avery", 101);
    const std::string before = Rows(a);
    ASSERT_NE(doc->LoadSubjectById(a), 0);
    doc->m_subject.Firstname = ""; // required: the save says so and stops
    doc->m_subject.City = "Lincoln";
    doc->m_subject.Modified = 1;
    ui.AnswerNext(UserInterface::Answer::Yes);
    TestJob job;
    const BulkResult result = Run(job);
    EXPECT_TRUE(result.stoppedBySave);
    EXPECT_FALSE(result.ran);
    EXPECT_EQ(job.candidatesAsked, 0);
    ASSERT_EQ(ui.Messages().size(), 2u);
    EXPECT_EQ(ui.Messages()[1].icon, UserInterface::Icon::Stop);
    EXPECT_EQ(doc->m_subject.City, "Lincoln");
    EXPECT_EQ(doc->m_subject.Modified, 1);
    EXPECT_EQ(doc->Interactive, 1);
    EXPECT_EQ(Rows(a), before);
}

TEST_F(BulkUpdate, ANewSubjectNotSavedLeavesAClearedDocument)
{
    StoreSubject("Avery", 101);
    doc->m_subject = DistinctSubject();
    doc->m_subject.Lastname = "Unsaved";
    doc->m_subject.Modified = 1;
    ui.AnswerNext(UserInterface::Answer::No);
    TestJob job;
    EXPECT_EQ(Run(job).Count(), 1);
    EXPECT_EQ(doc->m_subject.SubjectID, -1);
    EXPECT_EQ(doc->m_subject.Lastname, "");
    EXPECT_EQ(Count("Quorin", "select count(*) as num from subjects where Lastname = 'Unsaved'"), 0);
}

TEST_F(BulkUpdate, AnUnreachableAudiogramManagerIsReportedOnceARun)
{
    const int a = StoreSubject("Avery", 101);
    const int b = StoreSubject("Blake", 102);
    const int c = StoreSubject("Casey", 103);
    // A fresh document, so that the Audiogram Manager is connected during the run.
    doc = std::make_unique<CQuorinDoc>(ui);
    doc->m_strServer = QString::fromStdString(registry.Folder());
    doc->m_strUserName = quorin::test::kTestLogin;
    doc->m_strPassword = quorin::test::kTestPassword;
    ASSERT_TRUE(doc->OnNewDocument());
    std::filesystem::rename(std::filesystem::path(registry.Folder()) / "Aud.db",
                            std::filesystem::path(registry.Folder()) / "Aud.gone");
    TestJob job;
    const BulkResult result = Run(job);
    EXPECT_EQ(result.committed, (std::vector<int>{a, b, c}));
    EXPECT_EQ(result.amStatusNotSent, 3);
    EXPECT_EQ(ui.Texts(), QStringList{"Unable to connect to Database Aud!"});
    EXPECT_EQ(ui.Messages()[0].icon, UserInterface::Icon::Stop);
    TakeErrors();
}
