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
    void AddClinicPatient(int unit)
    {
        registry.ExecRaw("Aud", "insert into info (PatientNum, Birthdate, Velmar) values (" + std::to_string(unit)
                                    + ", '1987-04-09 00:00:00.000', 'before')");
    }
    int Devices(int subjectId) const
    {
        return Count("Quorin",
                     QStringLiteral("select count(*) as num from CiDevice where SubjectId = %1").arg(subjectId));
    }
};

} // namespace

TEST_F(CidBulkImport, EachKindOfSubjectEndsAsItShouldAndOnlyCommittedOnesCount)
{
    AddFullCidPatient("Avery", "A", "1001", 1);
    AddCidPatient("Dup", "One", "1003", 3);
    AddCidPatient("Dup", "Two", "1003", 4);
    AddFullCidPatient("Shared", "Unit", "1005", 5);
    AddFullCidPatient("Fay", "F", "1006", 6);
    const int broken = AddCidPatient("Gray", "G", "1007", 7);
    AddDevice(broken, "Left", "Broken", "2010-01-01");
    AddFullCidPatient("Hale", "H", "1008", 8);

    const int inCid = StoreImplantSubject("Avery", "1001");
    const int notInCid = StoreImplantSubject("Blake", "1002");
    const int noUnit = StoreImplantSubject("Casey", "");
    const int sharedInCid = StoreImplantSubject("Drew", "1003");
    const int twinA = StoreImplantSubject("Ellis", "1005");
    const int twinB = StoreImplantSubject("Emery", "1005");
    const int noConsent = StoreImplantSubject("Fay", "1006");
    const int failing = StoreImplantSubject("Gray", "1007");
    doc->m_subject = quorin::test::DistinctSubject();
    doc->m_subject.Lastname = "Hale";
    doc->m_subject.Unit = "1008"; // in CID, but not an implant subject here
    ASSERT_EQ(doc->SaveSubject(), 1);
    const int notImplanted = doc->m_subject.SubjectID;
    doc->ClearDocument();
    registry.ExecRaw("Quorin", "update subjects set InitialDateofConsent = NULL where SubjectId = " + std::to_string(noConsent));
    registry.ExecRaw("Quorin", "create trigger refuse_device before insert on CiDevice "
                               "when new.Device = 'Broken' begin select raise(abort, 'refused'); end");
    AddClinicPatient(1001);
    AddClinicPatient(1007);
    const std::string failingBefore = ImplantRows(failing);
    const std::string noConsentBefore = ImplantRows(noConsent);
    const std::string notImplantedBefore = ImplantRows(notImplanted);

    const std::optional<quorin::BulkResult> result = quorin::RunCidImport(*doc);
    ASSERT_TRUE(result);
    EXPECT_EQ(result->candidates, 8);
    EXPECT_EQ(result->committed, (std::vector<int>{inCid, twinA, twinB}));
    EXPECT_EQ(result->ReasonFor(notInCid), "not in CID");
    EXPECT_EQ(result->ReasonFor(noUnit), "no KV Number");
    EXPECT_EQ(result->ReasonFor(sharedInCid), "several CID patients");
    EXPECT_EQ(result->ReasonFor(noConsent), "save failed");
    EXPECT_EQ(result->ReasonFor(failing), "save failed");
    EXPECT_EQ(result->others.size(), 5u);
    TakeErrors(); // the trigger's refusal

    // Imported whole, each subject of a shared KV Number once.
    EXPECT_EQ(Scalar("Quorin", QStringLiteral("select Processor1 from cidata where SubjectId = %1").arg(inCid),
                     "Processor1"),
              "Freedom");
    // The hearing-aid numbers as CID holds them (tag 1: HaLeft 13, HaRight 15).
    EXPECT_EQ(Scalar("Quorin", QStringLiteral("select HAL * 100 + HAR as ha from cidata where SubjectId = %1").arg(inCid),
                     "ha"),
              "1315");
    EXPECT_EQ(Devices(inCid), 2);
    EXPECT_EQ(Count("Quorin", QStringLiteral("select count(*) as num from cispeech where SubjectId = %1").arg(inCid)),
              3);
    EXPECT_EQ(Devices(twinA), 2);
    EXPECT_EQ(Devices(twinB), 2);
    EXPECT_EQ(Velmar(1001), "No");
    // The failing subject as it was, its Audiogram Manager status untouched.
    EXPECT_EQ(ImplantRows(failing), failingBefore);
    EXPECT_EQ(Velmar(1007), "before");
    EXPECT_EQ(ImplantRows(noConsent), noConsentBefore);
    EXPECT_EQ(ImplantRows(notImplanted), notImplantedBefore);
    EXPECT_EQ(Count("Quorin", "select count(*) as num from cidata"), 3);
    EXPECT_EQ(doc->Interactive, 1);

    // A second run stores the same data again, nothing doubled.
    const std::string first = ImplantRows(inCid) + ImplantRows(twinA);
    const std::optional<quorin::BulkResult> again = quorin::RunCidImport(*doc);
    ASSERT_TRUE(again);
    EXPECT_EQ(again->Count(), 3);
    TakeErrors();
    EXPECT_EQ(ImplantRows(inCid) + ImplantRows(twinA), first);
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

TEST_F(CidBulkImport, TheCommandAsksAndReportsTheCount)
{
    AddFullCidPatient("Avery", "A", "1001", 1);
    AddFullCidPatient("Blake", "B", "1002", 2);
    StoreImplantSubject("Avery", "1001");
    StoreImplantSubject("Blake", "1002");

    ui.AnswerNext(UserInterface::Answer::No);
    doc->OnCidImport();
    EXPECT_EQ(ui.Texts(), QStringList{kQuestion});
    EXPECT_EQ(Count("Quorin", "select count(*) as num from cidata"), 0);
    ui.ClearMessages();

    ui.AnswerNext(UserInterface::Answer::Yes);
    doc->OnCidImport();
    EXPECT_EQ(ui.Texts(), (QStringList{kQuestion, "Updated 2 records!"}));
    EXPECT_EQ(ui.Messages()[1].icon, UserInterface::Icon::Information);
    EXPECT_EQ(ui.ProgressTexts(), (QStringList{"Checking subject 1 of 2", "Checking subject 2 of 2",
                                               "Updating subject 1 of 2", "Updating subject 2 of 2"}));
}

TEST_F(CidBulkImport, ACancelledRunCountsWhatWasCommitted)
{
    for (int k = 1; k <= 3; ++k) {
        const std::string unit = std::to_string(1000 + k);
        AddFullCidPatient("P" + unit, "F", unit, k);
        StoreImplantSubject(QStringLiteral("Subject%1").arg(k), QString::fromStdString(unit));
    }
    ui.CancelAtStep(3 + 2);
    ui.AnswerNext(UserInterface::Answer::Yes);
    doc->OnCidImport();
    EXPECT_EQ(ui.Texts(), (QStringList{kQuestion, "Updated 1 records!"}));
    EXPECT_EQ(Count("Quorin", "select count(*) as num from cidata"), 1);
}

TEST_F(CidBulkImport, NoImplantSubjectsReportsZero)
{
    StoreImplantSubject("Avery", "1001"); // not in CID
    ui.AnswerNext(UserInterface::Answer::Yes);
    doc->OnCidImport();
    EXPECT_EQ(ui.Texts(), (QStringList{kQuestion, "Updated 0 records!"}));
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

TEST_F(CidBulkImport, WithoutCidNothingRuns)
{
    StoreImplantSubject("Avery", "1001");
    std::filesystem::rename(std::filesystem::path(registry.Folder()) / "CID.db",
                            std::filesystem::path(registry.Folder()) / "CID.gone");
    ui.AnswerNext(UserInterface::Answer::Yes);
    doc->OnCidImport();
    EXPECT_EQ(ui.Texts(), (QStringList{kQuestion, "Unable to connect to Database CID!"}));
    EXPECT_EQ(ui.Messages()[1].icon, UserInterface::Icon::Stop);
    EXPECT_TRUE(ui.ProgressTexts().isEmpty());
}

TEST_F(CidBulkImport, UpdateQuorinAsksRunsTheProcedureAndReloadsTheOpenSubject)
{
    AddFullCidPatient("Avery", "A", "1001", 1);
    const int id = StoreImplantSubject("Avery", "1001");
    ASSERT_NE(doc->LoadSubjectById(id), 0);
    doc->m_subject.City = "Lincoln";
    doc->m_subject.Modified = 1;

    ui.AnswerNext(UserInterface::Answer::No);
    doc->OnUpdateQuorinFromCid();
    EXPECT_EQ(ui.Texts(), QStringList{kQuestion});
    EXPECT_EQ(doc->m_subject.City, "Lincoln"); // nothing ran, nothing reloaded
    ui.ClearMessages();

    ui.AnswerNext(UserInterface::Answer::Yes); // the update
    ui.AnswerNext(UserInterface::Answer::Yes); // save the open subject first
    doc->OnUpdateQuorinFromCid();
    EXPECT_EQ(ui.Texts(), (QStringList{kQuestion, "Save Current Subject?",
                                       "Updated 1 records in Subject from CID Database.\n0 subjects were "
                                       "left as they were: several CID patients share their KV Number."}));
    EXPECT_EQ(ui.Messages()[2].icon, UserInterface::Icon::Default);
    EXPECT_EQ(doc->m_subject.City, "Lincoln");
    EXPECT_EQ(doc->m_subject.Modified, 0);
    // The document shows what the server wrote.
    EXPECT_EQ(doc->m_ciData.Processor1, "Freedom");
    EXPECT_EQ(doc->m_ciData.Devices.size(), 2u);
    EXPECT_EQ(doc->Interactive, 1);
    EXPECT_GT(ui.WaitCursorShown(), 0);
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
    EXPECT_EQ(Devices(single), 2);
    // Neither patient's history, devices or speech rows reach the subject.
    EXPECT_EQ(ImplantRows(shared), sharedBefore);
}

TEST_F(CidBulkImport, AFailedUpdateQuorinChangesNothing)
{
    AddFullCidPatient("Avery", "A", "1001", 1);
    const int failing = AddCidPatient("Blake", "B", "1002", 2);
    AddDevice(failing, "Left", "Broken", "2010-01-01");
    const int a = StoreImplantSubject("Avery", "1001");
    const int b = StoreImplantSubject("Blake", "1002");
    registry.ExecRaw("Quorin", "create trigger refuse_device before insert on CiDevice "
                               "when new.Device = 'Broken' begin select raise(abort, 'refused'); end");
    const std::string before = ImplantRows(a) + ImplantRows(b);
    ui.AnswerNext(UserInterface::Answer::Yes);
    doc->OnUpdateQuorinFromCid();
    EXPECT_EQ(ui.Texts(), (QStringList{kQuestion, "Unable to update"}));
    EXPECT_FALSE(TakeErrors().empty());
    EXPECT_EQ(ImplantRows(a) + ImplantRows(b), before);
}
