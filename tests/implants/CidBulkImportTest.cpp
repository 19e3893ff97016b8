// CID Import over every implanted subject and Update Quorin, against the real registry
// with CID filled per test.

#include "CidFixture.h"

#include "implants/store/CidImportJob.h"

using quorin::UserInterface;
using quorin::test::CidTest;

namespace {

const QString kQuestion = "Update Subject records from Cochlear Implant Database?";

class CidBulkImport : public CidTest {
protected:
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

    const int inCid = StoreImplantSubject("Avery", "1001");
    const int notInCid = StoreImplantSubject("Blake", "1002");
    const int noUnit = StoreImplantSubject("Casey", "");
    const int sharedInCid = StoreImplantSubject("Drew", "1003");
    const int twinA = StoreImplantSubject("Ellis", "1005");
    const int twinB = StoreImplantSubject("Emery", "1005");
    const int failing = StoreImplantSubject("Gray", "1007");
    // In CID, but not an implant subject here: no candidate.
    registry.ExecRaw("Quorin", "insert into subjects (Lastname, Unit, PatImpression) values ('Hale', 1001, 'Normal')");
    registry.ExecRaw("Quorin", "create trigger refuse_device before insert on CiDevice "
                               "when new.Device = 'Broken' begin select raise(abort, 'refused'); end");
    registry.ExecRaw("Aud", "insert into info (PatientNum, Birthdate, Velmar) values "
                            "(1001, '1987-04-09 00:00:00.000', 'before'), (1007, '1987-04-09 00:00:00.000', 'before')");
    const std::string before = ImplantRows(failing);

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
    const QString where = QStringLiteral(" from cidata where SubjectId = %1").arg(inCid);
    EXPECT_EQ(Scalar("Quorin", "select Processor1" + where, "Processor1"), "Freedom");
    EXPECT_EQ(Scalar("Quorin", "select HAL * 100 + HAR as v" + where, "v"), "1315");
    EXPECT_EQ(Rows("CiDevice", inCid), 2);
    EXPECT_EQ(Rows("cispeech", inCid), 3);
    EXPECT_EQ(Rows("CiDevice", twinA) + Rows("CiDevice", twinB), 4);
    EXPECT_EQ(Scalar("Aud", "select Velmar from info where PatientNum = 1001", "Velmar"), "No");
    // The failing subject as it was, the Audiogram Manager's status untouched.
    EXPECT_EQ(ImplantRows(failing), before);
    EXPECT_EQ(Scalar("Aud", "select Velmar from info where PatientNum = 1007", "Velmar"), "before");
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

// No changes nothing, Yes imports and says how many. (The bulk runner's tests hold Cancel
// and an unreachable clinic.)
TEST_F(CidBulkImport, TheCommandAsksAndCounts)
{
    AddFullCidPatient("Avery", "A", "1001", 1);
    StoreImplantSubject("Avery", "1001");
    ui.AnswerNext(UserInterface::Answer::No);
    doc->OnCidImport();
    EXPECT_EQ(Count("Quorin", "select count(*) as num from cidata"), 0);
    ui.AnswerNext(UserInterface::Answer::Yes);
    doc->OnCidImport();
    EXPECT_EQ(ui.Texts(), (QStringList{kQuestion, kQuestion, "Updated 1 records!"}));
    EXPECT_EQ(ui.Messages()[2].icon, UserInterface::Icon::Information);
    EXPECT_EQ(Count("Quorin", "select count(*) as num from cidata"), 1);
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
