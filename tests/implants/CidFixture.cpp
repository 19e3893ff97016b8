#include "CidFixture.h"

#include "rules/SqlText.h"
#include "support/RawRegistry.h"

namespace quorin::test {

namespace {

std::string Quoted(const std::string& text)
{
    return "'" + sql::Text(QString::fromStdString(text)).toStdString() + "'";
}

} // namespace

int CidTest::AddCidPatient(const std::string& last, const std::string& first, const std::string& unit, int tag)
{
    const std::string t = std::to_string(tag);
    registry.ExecRaw("CID", "insert into patient (Lastname, Firstname, Dob, Unit, DurationLeft, DurationRight, "
                            "DegreePriorLeft, DegreePriorRight, NatureOnsetLeft, NatureOnsetRight, EtiologyLeft, "
                            "EtiologyRight, HaLeft, HaTimeLeft, HaRight, HaTimeRight, UnaidedLeft, UnaidedRight) values ("
                                + Quoted(last) + ", " + Quoted(first) + ", '1990-03-0" + std::to_string(tag % 9 + 1)
                                + " 00:00:00.000', " + Quoted(unit) + ", " + t + "1, " + t + "2, 'Severe " + t
                                + "', 'Profound " + t + "', 'Progressive " + t + "', 'Congenital " + t + "', 'CMV " + t
                                + "', 'Ushers " + t + "', " + t + "3, " + t + "4, " + t + "5, " + t + "6, " + t + "7, "
                                + t + "8)");
    return static_cast<int>(RawRegistry(registry.Folder()).number("select max(PatientId) from CID.patient"));
}

void CidTest::AddDevice(int patientId, const std::string& ear, const std::string& device, const std::string& surgery)
{
    registry.ExecRaw("CID", "insert into \"Internal\" (PatientId, Ear, Device, Positioner, SurgeryDate, StimDate, "
                            "AgeAtImplant, Surgeon, Hospital, Status, DateOfExplant) values ("
                                + std::to_string(patientId) + ", " + Quoted(ear) + ", " + Quoted(device) + ", 'Yes', '"
                                + surgery + " 00:00:00.000', '2011-04-05 00:00:00.000', 37, 'Dr. O''Neil', "
                                "'Boys Town', 'In Use', '2015-06-07 00:00:00.000')");
}

int CidTest::AddFullCidPatient(const std::string& last, const std::string& first, const std::string& unit, int tag)
{
    const int id = AddCidPatient(last, first, unit, tag);
    const std::string k = "(" + std::to_string(id) + ", ";
    // Three fittings out of order; speech rows of test types 0, 1 (before the implant) and 2.
    registry.ExecRaw("CID", "insert into external (PatientId, Processor, DateFit) values " + k
                                + "'Spectra', '2008-01-01 00:00:00.000'), " + k + "'Freedom', '2014-01-01 00:00:00.000'), "
                                + k + "'Esprit 3G', '2011-01-01 00:00:00.000');"
                                  "insert into speech (patientid, type, name, score, time, Ear, testtype) values "
                                + k + "'Word Recognition', 'CNC', 42.5, 6, 'Left CI', 0), " + k
                                + "'Word Recognition', 'HINT', 12.25, 0, 'Left CI', 1), " + k
                                + "'Word Recognition', 'BKB', 80.0, 12, 'Left CI', 2)");
    AddDevice(id, "Left", "Nucleus 24", "2010-02-03");
    AddDevice(id, "Right", "HiRes 90K", "2012-02-03");
    return id;
}

int CidTest::StoreImplantSubject(const QString& last, const QString& unit)
{
    doc->ClearDocument();
    doc->m_subject = DistinctSubject();
    doc->m_subject.Lastname = last;
    doc->m_subject.Unit = unit;
    doc->m_subject.PatImpression = "Cochlear Implant";
    EXPECT_EQ(doc->SaveSubject(), 1);
    const int id = doc->m_subject.SubjectID;
    doc->ClearDocument();
    return id;
}

std::string CidTest::ImplantRows(int subjectId) const
{
    const RawRegistry raw(registry.Folder());
    const std::string k = std::to_string(subjectId);
    return raw.dump("select * from subjects where SubjectId = " + k) + "|"
           + raw.dump("select * from cidata where SubjectId = " + k) + "|"
           + raw.dump("select * from CiDevice where SubjectId = " + k) + "|"
           + raw.dump("select * from cispeech where SubjectId = " + k);
}

} // namespace quorin::test
