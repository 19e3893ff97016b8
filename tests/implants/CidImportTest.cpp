// Importing one CID patient into the open subject, the CI Database Lookup's search,
// and "Check CID DB" through the scripted lookup.

#include "CidFixture.h"

#include "rules/KvNumber.h"
#include "dalport/MyADO.h"
#include "implants/store/CidAccess.h"

#include <filesystem>

using quorin::UserInterface;
using quorin::test::CidTest;

namespace {

class CidImport : public CidTest {
protected:
    // What the document held before an import that must change nothing.
    void FillDocument()
    {
        doc->m_ciData.HasCiData = 1;
        doc->m_ciData.DegreePriorL = "typed";
        doc->m_ciData.Processor1 = "typed processor";
        CCiDevice d;
        d.Device = "typed device";
        doc->m_ciData.Devices.push_back(d);
        CCiSpeech s;
        s.TestName = "typed row";
        s.Index = 0;
        doc->m_ciSpeechList.push_back(s);
        CSpeechTest t;
        t.TestName = "typed S/L/L test";
        doc->m_speechTestList.push_back(t);
    }

    void ExpectDocumentUnchanged()
    {
        EXPECT_EQ(doc->m_ciData.DegreePriorL, "typed");
        EXPECT_EQ(doc->m_ciData.Processor1, "typed processor");
        ASSERT_EQ(doc->m_ciData.Devices.size(), 1u);
        EXPECT_EQ(doc->m_ciData.Devices[0].Device, "typed device");
        ASSERT_EQ(doc->m_ciSpeechList.size(), 1u);
        EXPECT_EQ(doc->m_ciSpeechList[0].TestName, "typed row");
        ASSERT_EQ(doc->m_speechTestList.size(), 1u);
    }

    std::vector<quorin::CidPatientRow> Lookup(const QString& unit, const QString& last, const QString& first)
    {
        MyADO cid;
        EXPECT_TRUE(quorin::ConnectCid(*doc, cid));
        std::vector<quorin::CidPatientRow> rows;
        EXPECT_TRUE(quorin::LookupCidPatients(cid, ui, unit, last, first, rows));
        return rows;
    }

    static QStringList Names(const std::vector<quorin::CidPatientRow>& rows)
    {
        QStringList out;
        for (const auto& r : rows)
            out << r.lastname + ", " + r.firstname;
        out.sort(); // the order is the server's
        return out;
    }
};

} // namespace

TEST_F(CidImport, EveryColumnArrivesInItsFieldAndTheSllTestsStay)
{
    AddFullCidPatient("Other", "Patient", "900", 2);
    const int id = AddFullCidPatient("Lee", "Morgan", "4711", 5);
    FillDocument();

    EXPECT_EQ(doc->ImportCiFromCid(id), 1);

    const CCiData& ci = doc->m_ciData;
    EXPECT_EQ(ci.HasCiData, 1);
    EXPECT_EQ(ci.DurationPriorL, 51);
    EXPECT_EQ(ci.DurationPriorR, 52);
    EXPECT_EQ(ci.DegreePriorL, "Severe 5");
    EXPECT_EQ(ci.DegreePriorR, "Profound 5");
    EXPECT_EQ(ci.NatureL, "Progressive 5");
    EXPECT_EQ(ci.NatureR, "Congenital 5");
    EXPECT_EQ(ci.EtiologyL, "CMV 5");
    EXPECT_EQ(ci.EtiologyR, "Ushers 5");
    EXPECT_EQ(ci.HaL, 53);
    EXPECT_EQ(ci.HaTimeL, 54);
    EXPECT_EQ(ci.HaR, 55);
    EXPECT_EQ(ci.HaTimeR, 56);
    EXPECT_EQ(ci.DurationUnaidedL, 57);
    EXPECT_EQ(ci.DurationUnaidedR, 58);
    // Three fittings: the two latest, latest first.
    EXPECT_EQ(ci.Processor1, "Freedom");
    EXPECT_EQ(ci.Processor2, "Esprit 3G");

    // Devices newest surgery first, every column.
    ASSERT_EQ(ci.Devices.size(), 2u);
    const CCiDevice& d = ci.Devices[0];
    EXPECT_EQ(d.Ear, "Right");
    EXPECT_EQ(d.Device, "HiRes 90K");
    EXPECT_EQ(d.Positioner, "Yes");
    EXPECT_EQ(d.SurgDate, "02/03/2012");
    EXPECT_EQ(d.StimDate, "04/05/2011");
    EXPECT_EQ(d.AgeAtImplant, 37);
    EXPECT_EQ(d.Surgeon, "Dr. O'Neil");
    EXPECT_EQ(d.Hospital, "Boys Town");
    EXPECT_EQ(d.Status, "In Use");
    EXPECT_EQ(d.ExplantDate, "06/07/2015");
    EXPECT_EQ(ci.Devices[1].Device, "Nucleus 24");

    // testtype 1 only is before the implant; 0 and 2 are after.
    ASSERT_EQ(doc->m_ciSpeechList.size(), 3u);
    const CCiSpeech& s0 = doc->m_ciSpeechList[0];
    EXPECT_EQ(s0.TestType, "Word Recognition");
    EXPECT_EQ(s0.TestName, "CNC");
    EXPECT_FLOAT_EQ(s0.Score, 42.5f);
    EXPECT_EQ(s0.TimeIS, 6);
    EXPECT_EQ(s0.Condition, "Left CI");
    EXPECT_EQ(s0.DataType, "Post Implant");
    EXPECT_EQ(s0.Index, -1);
    EXPECT_EQ(doc->m_ciSpeechList[1].DataType, "Pre Implant");
    EXPECT_FLOAT_EQ(doc->m_ciSpeechList[1].Score, 12.25f);
    EXPECT_EQ(doc->m_ciSpeechList[2].DataType, "Post Implant");

    // The S/L/L tests typed since the last save are not CID's to replace.
    ASSERT_EQ(doc->m_speechTestList.size(), 1u);
    EXPECT_EQ(doc->m_speechTestList[0].TestName, "typed S/L/L test");
}

TEST_F(CidImport, APatientWithoutFittingsDevicesOrSpeechEmptiesThoseLists)
{
    const int id = AddCidPatient("Lee", "Morgan", "4711");
    FillDocument();
    EXPECT_EQ(doc->ImportCiFromCid(id), 1);
    EXPECT_EQ(doc->m_ciData.Processor1, "");
    EXPECT_EQ(doc->m_ciData.Processor2, "");
    EXPECT_TRUE(doc->m_ciData.Devices.empty());
    EXPECT_TRUE(doc->m_ciSpeechList.empty());
}

TEST_F(CidImport, AFailingStatementOrAVanishedPatientChangesNothing)
{
    const int id = AddFullCidPatient("Lee", "Morgan", "4711");
    FillDocument();
    EXPECT_EQ(doc->ImportCiFromCid(id + 100), 0);
    ExpectDocumentUnchanged();

    // Each of the later statements failing in turn.
    for (const char* table : {"speech", "\"Internal\"", "external"}) {
        SCOPED_TRACE(table);
        registry.ExecRaw("CID", std::string("alter table ") + table + " rename to renamed");
        EXPECT_EQ(doc->ImportCiFromCid(id), 0);
        ExpectDocumentUnchanged();
        EXPECT_FALSE(TakeErrors().empty()); // the library said what failed
        registry.ExecRaw("CID", std::string("alter table renamed rename to ") + table);
    }
    EXPECT_EQ(doc->ImportCiFromCid(id), 1);
}

TEST_F(CidImport, AGivenSessionIsUsedAndWithoutCidNothingChanges)
{
    const int id = AddFullCidPatient("Lee", "Morgan", "4711");
    MyADO cid;
    ASSERT_TRUE(quorin::ConnectCid(*doc, cid));
    std::filesystem::rename(std::filesystem::path(registry.Folder()) / "CID.db",
                            std::filesystem::path(registry.Folder()) / "CID.gone");
    FillDocument();
    // A session of its own cannot be opened any more, silently.
    EXPECT_EQ(doc->ImportCiFromCid(id), 0);
    ExpectDocumentUnchanged();
    EXPECT_TRUE(ui.Messages().empty());
    // The session the caller holds still reads.
    EXPECT_EQ(doc->ImportCiFromCid(id, &cid), 1);
    EXPECT_EQ(doc->m_ciData.Processor1, "Freedom");
}

TEST_F(CidImport, LookupByUnitOrByNameWhenThereIsNoUnit)
{
    AddCidPatient("Lee", "Morgan", "4711", 1);
    AddCidPatient("Leeds", "Mary", "12", 2);
    AddCidPatient("Lee", "Sam", "", 3);
    AddCidPatient("O'Brien", "Pat", "77", 4);

    auto byUnit = Lookup("4711", "Nobody", "");
    ASSERT_EQ(byUnit.size(), 1u);
    EXPECT_EQ(byUnit[0].lastname, "Lee");
    EXPECT_EQ(byUnit[0].unit, "4711");
    EXPECT_EQ(byUnit[0].birth, "03/02/1990");
    EXPECT_GT(byUnit[0].patientId, 0);
    // The Subject tab's "0" is no unit, as "" is: both search by the names' beginnings.
    EXPECT_EQ(Names(Lookup("", "Lee", "M")), (QStringList{"Lee, Morgan", "Leeds, Mary"}));
    EXPECT_EQ(Names(Lookup("0", "Lee", "")), (QStringList{"Lee, Morgan", "Lee, Sam", "Leeds, Mary"}));
    EXPECT_TRUE(ui.Messages().empty());

    // Not a whole number: said so, then the name search.
    EXPECT_EQ(Names(Lookup("12a", "Lee", "S")), QStringList{"Lee, Sam"});
    ASSERT_EQ(ui.Messages().size(), 1u);
    EXPECT_EQ(ui.Messages()[0].text, quorin::sql::KvNumberMessage());
    EXPECT_EQ(ui.Messages()[0].icon, UserInterface::Icon::Stop);
}

TEST_F(CidImport, NamesAreSearchedAsTypedAndNeverChangeTheStatement)
{
    AddCidPatient("O'Brien", "Pat", "77", 1);
    AddCidPatient("Lee", "Morgan", "4711", 2);
    EXPECT_EQ(Names(Lookup("", "O'Brien", "")), QStringList{"O'Brien, Pat"});
    EXPECT_TRUE(Lookup("", "x'; DROP TABLE patient --", "").empty());
    EXPECT_TRUE(Lookup("", "%", "").empty()); // a wildcard typed is a character
    EXPECT_EQ(Names(Lookup("", "", "")), (QStringList{"Lee, Morgan", "O'Brien, Pat"}));
}

TEST_F(CidImport, CheckCidDatabaseImportsOnlyAfterOk)
{
    const int id = AddFullCidPatient("Lee", "Morgan", "4711");
    doc->m_subject.Unit = "4711";
    FillDocument();

    // Cancel: nothing changes, and the subject is not marked as edited.
    ui.DialogResultNext(2);
    EXPECT_EQ(doc->CheckCidDatabase(), 0);
    ExpectDocumentUnchanged();
    EXPECT_EQ(doc->m_subject.Modified, 0);

    ui.SetDialogRunner([&](UserInterface::Dialog dialog) {
        EXPECT_EQ(dialog, UserInterface::Dialog::CidLookup);
        doc->m_nCidPatientId = id;
        return 1;
    });
    EXPECT_EQ(doc->CheckCidDatabase(), 1);
    EXPECT_EQ(doc->m_ciData.Processor1, "Freedom");
    EXPECT_EQ(doc->m_subject.Modified, 1);
    EXPECT_EQ(ui.DialogsRun().size(), 2u);
}

TEST_F(CidImport, APatientThatCannotBeReadAfterOkIsReported)
{
    ui.SetDialogRunner([&](UserInterface::Dialog) {
        doc->m_nCidPatientId = 999;
        return 1;
    });
    FillDocument();
    EXPECT_EQ(doc->CheckCidDatabase(), 0);
    ExpectDocumentUnchanged();
    EXPECT_EQ(doc->m_subject.Modified, 0);
    ASSERT_EQ(ui.Messages().size(), 1u);
    EXPECT_EQ(ui.Messages()[0].icon, UserInterface::Icon::Stop);
}
