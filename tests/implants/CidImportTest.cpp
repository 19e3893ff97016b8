// Importing one CID patient into the open subject, and the CI Database Lookup's search.

#include "CidFixture.h"

#include "rules/KvNumber.h"
#include "dalport/MyADO.h"
#include "implants/store/CidAccess.h"

using quorin::test::CidTest;
using quorin::test::DeviceFields;
using quorin::test::HistoryFields;
using quorin::test::SpeechFields;

namespace {

class CidImport : public CidTest {
protected:
    // Typed into the document before an import: a history, a device, a CI speech row and
    // an S/L/L test.
    void FillDocument()
    {
        doc->m_ciData.DegreePriorL = "typed";
        doc->m_ciData.Devices.resize(1);
        doc->m_ciSpeechList.resize(1);
        doc->m_speechTestList.resize(1);
        doc->m_speechTestList[0].TestName = "typed S/L/L test";
    }
    // Everything the document holds of the subject's implant data and S/L/L tests.
    QStringList Held() const
    {
        QStringList held = HistoryFields(doc->m_ciData);
        for (const CCiDevice& d : doc->m_ciData.Devices)
            held << DeviceFields(d);
        for (const CCiSpeech& s : doc->m_ciSpeechList)
            held << SpeechFields(s);
        for (const CSpeechTest& t : doc->m_speechTestList)
            held << t.TestName;
        return held;
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
    // Of three fittings the two latest, latest first; the hearing-aid numbers as CID holds them.
    EXPECT_EQ(HistoryFields(doc->m_ciData),
              (QStringList{"Severe 5", "Profound 5", "Progressive 5", "Congenital 5", "CMV 5", "Ushers 5", "Freedom",
                           "Esprit 3G", "1", "51", "52", "53", "55", "54", "56", "57", "58"}));
    // Devices newest surgery first.
    ASSERT_EQ(doc->m_ciData.Devices.size(), 2u);
    EXPECT_EQ(DeviceFields(doc->m_ciData.Devices[0]),
              (QStringList{"Right", "HiRes 90K", "Yes", "02/03/2012", "37", "04/05/2011", "In Use", "Dr. O'Neil",
                           "Boys Town", "06/07/2015"}));
    EXPECT_EQ(doc->m_ciData.Devices[1].Device, "Nucleus 24");
    // testtype 1 only is before the implant; 0 and 2 are after.
    ASSERT_EQ(doc->m_ciSpeechList.size(), 3u);
    EXPECT_EQ(SpeechFields(doc->m_ciSpeechList[0]),
              (QStringList{"-1", "Post Implant", "Word Recognition", "CNC", "Left CI", "42.50", "6"}));
    EXPECT_EQ(doc->m_ciSpeechList[1].DataType, "Pre Implant");
    EXPECT_EQ(doc->m_ciSpeechList[2].DataType, "Post Implant");
    // The S/L/L tests typed since the last save are not CID's to replace.
    ASSERT_EQ(doc->m_speechTestList.size(), 1u);
    EXPECT_EQ(doc->m_speechTestList[0].TestName, "typed S/L/L test");
}

TEST_F(CidImport, AFailingStatementOrAVanishedPatientChangesNothing)
{
    const int id = AddFullCidPatient("Lee", "Morgan", "4711");
    FillDocument();
    const QStringList typed = Held();
    EXPECT_EQ(doc->ImportCiFromCid(id + 100), 0);
    EXPECT_EQ(Held(), typed);

    // Each of the later statements failing in turn.
    for (const char* table : {"speech", "\"Internal\"", "external"}) {
        SCOPED_TRACE(table);
        registry.ExecRaw("CID", std::string("alter table ") + table + " rename to renamed");
        EXPECT_EQ(doc->ImportCiFromCid(id), 0);
        EXPECT_EQ(Held(), typed);
        EXPECT_FALSE(TakeErrors().empty()); // the library said what failed
        registry.ExecRaw("CID", std::string("alter table renamed rename to ") + table);
    }
    EXPECT_EQ(doc->ImportCiFromCid(id), 1);
}

// Check CID DB: the lookup dialog picks the patient; Cancel keeps what was typed, a
// patient that cannot be read says so, and a read one marks the subject changed.
TEST_F(CidImport, CheckCidDatabaseImportsOnlyAPatientPickedAndRead)
{
    const int id = AddFullCidPatient("Lee", "Morgan", "4711");
    FillDocument();
    const QStringList typed = Held();
    int picked = -1;
    ui.SetDialogRunner([&](quorin::UserInterface::Dialog) {
        doc->m_nCidPatientId = picked;
        return picked == -1 ? 0 : 1;
    });
    EXPECT_EQ(doc->CheckCidDatabase(), 0);
    picked = id + 100;
    EXPECT_EQ(doc->CheckCidDatabase(), 0);
    EXPECT_EQ(ui.Texts(), QStringList{"The CID patient could not be read. Nothing was imported."});
    EXPECT_EQ(Held(), typed);
    EXPECT_EQ(doc->m_subject.Modified, 0);
    picked = id;
    EXPECT_EQ(doc->CheckCidDatabase(), 1);
    EXPECT_NE(Held(), typed);
    EXPECT_EQ(doc->m_subject.Modified, 1);
}

TEST_F(CidImport, TheLookupSearchesByUnitOrByTheNamesAsTyped)
{
    AddCidPatient("Lee", "Morgan", "4711", 1);
    AddCidPatient("Leeds", "Mary", "12", 2);
    AddCidPatient("O'Brien", "Pat", "77", 3);
    const auto byUnit = Lookup("4711", "Nobody", "");
    ASSERT_EQ(byUnit.size(), 1u);
    EXPECT_EQ(byUnit[0].lastname + " " + byUnit[0].unit + " " + byUnit[0].birth, "Lee 4711 03/02/1990");
    // The Subject tab's "0" is no unit, as "" is: both search by the names' beginnings.
    EXPECT_EQ(Names(Lookup("0", "Lee", "M")), (QStringList{"Lee, Morgan", "Leeds, Mary"}));
    EXPECT_EQ(Names(Lookup("", "O'Brien", "")), QStringList{"O'Brien, Pat"});
    EXPECT_TRUE(Lookup("", "x'; DROP TABLE patient --", "").empty());
    EXPECT_TRUE(Lookup("", "%", "").empty()); // a wildcard typed is a character
    EXPECT_TRUE(ui.Messages().empty());
    // Not a whole number: said so, then the name search.
    EXPECT_EQ(Names(Lookup("12a", "O'", "")), QStringList{"O'Brien, Pat"});
    EXPECT_EQ(ui.Texts(), QStringList{quorin::sql::KvNumberMessage()});
}
