// CID Import over every implanted subject and Update Quorin, against the real registry
// with CID filled per test.

#include "CidFixture.h"

#include "implants/store/CidImportJob.h"

#include <filesystem>

using quorin::UserInterface;
using quorin::test::CidTest;

namespace {

const QString kQuestion = "Update Subject records from Cochlear Implant Database?";

class CidBulkImport : public CidTest {
protected:
    QString Velmar(int unit) const
    {
        return Scalar("Aud", QStringLiteral("select Velmar from info where PatientNum = %1").arg(unit), "Velmar");
    }
    QString Ci(int subjectId, const char* expression) const
    {
        return Scalar("Quorin", QStringLiteral("select %1 as v from cidata where SubjectId = %2")
                                    .arg(QLatin1String(expression))
                                    .arg(subjectId),
                      "v");
    }
    int Rows(const char* table, int subjectId) const
    {
        return Count("Quorin", QStringLiteral("select count(*) as num from %1 where SubjectId = %2")
                                   .arg(QLatin1String(table))
                                   .arg(subjectId));
    }
};

} // namespace

TEST_F(CidBulkImport, EachKindOfSubjectEndsAsItShouldAndOnlyCommittedOnesCount)
{
    AddFullCidPatient("Avery", "A", "1001", 1);
    AddCidPatient("Dup", "One", "1003", 3);
    AddCidPatient("Dup", "Two", "1003", 4);
    AddFullCidPatient("Shared", "Unit", "1005", 5);
    AddDevice(AddCidPatient("Gray", "G", "1007", 7), "Left", "Broken", "2010-01-01");
    AddFullCidPatient("Hale", "H", "1008", 8);

    const int inCid = StoreImplantSubject("Avery", "1001");
    const int notInCid = StoreImplantSubject("Blake", "1002");
    const int noUnit = StoreImplantSubject("Casey", "");
    const int sharedInCid = StoreImplantSubject("Drew", "1003");
    const int twinA = StoreImplantSubject("Ellis", "1005");
    const int twinB = StoreImplantSubject("Emery", "1005");
    const int failing = StoreImplantSubject("Gray", "1007");
    const int notImplanted = StoreImplantSubject("Hale", "1008");
    // In CID, but not an implant subject here.
    registry.ExecRaw("Quorin", "update subjects set PatImpression = 'Hearing Impaired' where SubjectId = "
                                   + std::to_string(notImplanted));
    registry.ExecRaw("Quorin", "create trigger refuse_device before insert on CiDevice "
                               "when new.Device = 'Broken' begin select raise(abort, 'refused'); end");
    registry.ExecRaw("Aud", "insert into info (PatientNum, Birthdate, Velmar) values "
                            "(1001, '1987-04-09 00:00:00.000', 'before'), (1007, '1987-04-09 00:00:00.000', 'before')");
    const std::string before = ImplantRows(failing) + ImplantRows(notImplanted);

    const std::optional<quorin::BulkResult> result = quorin::RunCidImport(*doc);
    ASSERT_TRUE(result);
    EXPECT_EQ(result->candidates, 7);
    EXPECT_EQ(result->committed, (std::vector<int>{inCid, twinA, twinB}));
    EXPECT_EQ(result->ReasonFor(notInCid), "not in CID");
    EXPECT_EQ(result->ReasonFor(noUnit), "no KV Number");
    EXPECT_EQ(result->ReasonFor(sharedInCid), "several CID patients");
    EXPECT_EQ(result->ReasonFor(failing), "save failed");
    EXPECT_EQ(result->others.size(), 4u);
    TakeErrors(); // the trigger's refusal

    // Imported whole, each subject of a shared KV Number once, with the hearing-aid
    // numbers as CID holds them (tag 1: HaLeft 13, HaRight 15).
    EXPECT_EQ(Ci(inCid, "Processor1"), "Freedom");
    EXPECT_EQ(Ci(inCid, "HAL * 100 + HAR"), "1315");
    EXPECT_EQ(Rows("CiDevice", inCid), 2);
    EXPECT_EQ(Rows("cispeech", inCid), 3);
    EXPECT_EQ(Rows("CiDevice", twinA) + Rows("CiDevice", twinB), 4);
    EXPECT_EQ(Velmar(1001), "No");
    // The failing subjects as they were, the Audiogram Manager's status untouched.
    EXPECT_EQ(ImplantRows(failing) + ImplantRows(notImplanted), before);
    EXPECT_EQ(Velmar(1007), "before");
    EXPECT_EQ(Count("Quorin", "select count(*) as num from cidata"), 3);
    EXPECT_EQ(doc->Interactive, 1);
}

TEST_F(CidBulkImport, ACidValueLongerThanItsRegistryColumnFailsThatSubjectNamingTheColumn)
{
    // Counted in characters: "Dr. " and 46 or 47 two-byte letters.
    const auto surgeon = [](int letters) {
        std::string s = "Dr. ";
        for (int i = 0; i < letters; ++i)
            s += "\xC3\xBC"; // u with diaeresis
        return s;
    };
    const int tooLong = AddCidPatient("Avery", "A", "1001", 1);
    AddDevice(tooLong, "Left", "Nucleus 24k", "2010-01-01");
    const int longest = AddCidPatient("Blake", "B", "1002", 2);
    AddDevice(longest, "Left", "Nucleus 24k", "2010-01-01");
    registry.ExecRaw("CID", "update \"Internal\" set Surgeon = '" + surgeon(47) + "' where PatientId = "
                                + std::to_string(tooLong));
    registry.ExecRaw("CID", "update \"Internal\" set Surgeon = '" + surgeon(46) + "' where PatientId = "
                                + std::to_string(longest));
    const int a = StoreImplantSubject("Avery", "1001");
    const int b = StoreImplantSubject("Blake", "1002");
    const std::string before = ImplantRows(a);

    const std::optional<quorin::BulkResult> result = quorin::RunCidImport(*doc);
    ASSERT_TRUE(result);
    EXPECT_EQ(result->ReasonFor(a), "CID value too long for CiDevice.Surgeon");
    EXPECT_EQ(result->committed, std::vector<int>{b});
    EXPECT_EQ(ImplantRows(a), before);
    EXPECT_EQ(Scalar("Quorin", QStringLiteral("select Surgeon from CiDevice where SubjectId = %1").arg(b), "Surgeon"),
              QString::fromStdString(surgeon(46)));
}

TEST_F(CidBulkImport, TheCommandAsksCountsWhatWasCommittedWhenCancelledAndNeedsCid)
{
    for (int k = 1; k <= 3; ++k) {
        const std::string unit = std::to_string(1000 + k);
        AddFullCidPatient("P" + unit, "F", unit, k);
        StoreImplantSubject(QStringLiteral("Subject%1").arg(k), QString::fromStdString(unit));
    }
    ui.AnswerNext(UserInterface::Answer::No);
    doc->OnCidImport();
    EXPECT_EQ(ui.Texts(), QStringList{kQuestion});
    EXPECT_EQ(Count("Quorin", "select count(*) as num from cidata"), 0);

    // Cancelled at the second subject's update: the first one stays committed.
    ui.ClearMessages();
    ui.CancelAtStep(3 + 2);
    ui.AnswerNext(UserInterface::Answer::Yes);
    doc->OnCidImport();
    EXPECT_EQ(ui.Texts(), (QStringList{kQuestion, "Updated 1 records!"}));
    EXPECT_EQ(ui.Messages()[1].icon, UserInterface::Icon::Information);
    EXPECT_EQ(ui.ProgressTexts(), (QStringList{"Checking subject 1 of 3", "Checking subject 2 of 3",
                                               "Checking subject 3 of 3", "Updating subject 1 of 3",
                                               "Updating subject 2 of 3"}));
    EXPECT_EQ(Count("Quorin", "select count(*) as num from cidata"), 1);

    // Without CID nothing runs.
    ui.ClearMessages();
    std::filesystem::rename(std::filesystem::path(registry.Folder()) / "CID.db",
                            std::filesystem::path(registry.Folder()) / "CID.gone");
    ui.AnswerNext(UserInterface::Answer::Yes);
    doc->OnCidImport();
    EXPECT_EQ(ui.Texts(), (QStringList{kQuestion, "Unable to connect to Database CID!"}));
    EXPECT_EQ(ui.Messages()[1].icon, UserInterface::Icon::Stop);
    EXPECT_EQ(ui.ProgressTexts().size(), 5);
}

TEST_F(CidBulkImport, ACidThatRefusesReadsIsAFailureNotNothingToDo)
{
    AddFullCidPatient("Avery", "A", "1001", 1);
    StoreImplantSubject("Avery", "1001");
    StoreImplantSubject("Blake", "1002");
    StoreImplantSubject("Casey", ""); // skipped by rule: no read, no failure
    {
        MyADO admin = OpenAsAdmin("CID");
        ASSERT_EQ(admin.RunTextQuery("DENY SELECT ON patient TO QuorinUser"), 1);
    }
    ui.AnswerNext(UserInterface::Answer::Yes);
    doc->OnCidImport();
    EXPECT_FALSE(TakeErrors().empty()); // the server's refusals
    EXPECT_EQ(ui.Texts(),
              (QStringList{kQuestion, "Updated 0 records!\n2 subjects could not be read: CID read failed"}));
    EXPECT_EQ(ui.Messages()[1].icon, UserInterface::Icon::Stop);
    EXPECT_EQ(Count("Quorin", "select count(*) as num from cidata"), 0);
}

TEST_F(CidBulkImport, UpdateQuorinLeavesASubjectWhoseKvNumberTwoCidPatientsShare)
{
    AddFullCidPatient("Avery", "A", "1001", 1);
    AddFullCidPatient("Drew", "One", "1003", 3);
    AddFullCidPatient("Drew", "Two", "1003", 4);
    const int single = StoreImplantSubject("Avery", "1001");
    const int shared = StoreImplantSubject("Drew", "1003");
    const std::string sharedBefore = ImplantRows(shared);
    ui.AnswerNext(UserInterface::Answer::Yes);
    doc->OnUpdateQuorinFromCid();
    EXPECT_EQ(ui.Texts(), (QStringList{kQuestion, "Updated 1 records in Subject from CID Database.\n1 subjects were "
                                                  "left as they were: several CID patients share their KV Number."}));
    EXPECT_EQ(Rows("CiDevice", single), 2);
    // Neither patient's history, devices or speech rows reach the subject.
    EXPECT_EQ(ImplantRows(shared), sharedBefore);
}
