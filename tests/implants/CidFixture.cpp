#include "CidFixture.h"

#include "support/RawRegistry.h"

namespace quorin::test {

namespace {

std::string Quoted(const std::string& text)
{
    std::string out = "'";
    for (const char c : text) {
        out += c;
        if (c == '\'')
            out += '\'';
    }
    return out + "'";
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
    RawRegistry raw(registry.Folder());
    return static_cast<int>(raw.number("select max(PatientId) from CID.patient"));
}

void CidTest::AddFitting(int patientId, const std::string& processor, const std::string& date)
{
    registry.ExecRaw("CID", "insert into external (PatientId, Processor, DateFit) values (" + std::to_string(patientId)
                                + ", " + Quoted(processor) + ", '" + date + " 00:00:00.000')");
}

void CidTest::AddDevice(int patientId, const std::string& ear, const std::string& device, const std::string& surgery)
{
    registry.ExecRaw("CID", "insert into \"Internal\" (PatientId, Ear, Device, Positioner, SurgeryDate, StimDate, "
                            "AgeAtImplant, Surgeon, Hospital, Status, DateOfExplant) values ("
                                + std::to_string(patientId) + ", " + Quoted(ear) + ", " + Quoted(device) + ", 'Yes', '"
                                + surgery + " 00:00:00.000', '2011-04-05 00:00:00.000', 37, 'Dr. O''Neil', "
                                "'Boys Town', 'In Use', '2015-06-07 00:00:00.000')");
}

void CidTest::AddSpeech(int patientId, const std::string& name, double score, int time, int testtype)
{
    registry.ExecRaw("CID", "insert into speech (patientid, type, name, score, time, Ear, testtype) values ("
                                + std::to_string(patientId) + ", 'Word Recognition', " + Quoted(name) + ", "
                                + std::to_string(score) + ", " + std::to_string(time) + ", 'Left CI', "
                                + std::to_string(testtype) + ")");
}

int CidTest::AddFullCidPatient(const std::string& last, const std::string& first, const std::string& unit, int tag)
{
    const int id = AddCidPatient(last, first, unit, tag);
    AddFitting(id, "Spectra", "2008-01-01");
    AddFitting(id, "Freedom", "2014-01-01");
    AddFitting(id, "Esprit 3G", "2011-01-01");
    AddDevice(id, "Left", "Nucleus 24", "2010-02-03");
    AddDevice(id, "Right", "HiRes 90K", "2012-02-03");
    AddSpeech(id, "CNC", 42.5, 6, 0);
    AddSpeech(id, "HINT", 12.25, 0, 1);
    AddSpeech(id, "BKB", 80.0, 12, 2);
    return id;
}

int CidTest::StoreImplantSubject(const QString& last, const QString& unit)
{
    doc->ClearDocument();
    CSubject s = DistinctSubject();
    s.Lastname = last;
    s.Unit = unit;
    s.PatImpression = "Cochlear Implant";
    doc->m_subject = s;
    EXPECT_EQ(doc->SaveSubject(), 1);
    const int id = doc->m_subject.SubjectID;
    doc->ClearDocument();
    return id;
}

std::string CidTest::Dump(const std::string& sql) const
{
    RawRegistry raw(registry.Folder());
    return raw.dump(sql);
}

std::string CidTest::ImplantRows(int subjectId) const
{
    const std::string k = std::to_string(subjectId);
    return Dump("select * from subjects where SubjectId = " + k) + "|"
           + Dump("select * from cidata where SubjectId = " + k) + "|"
           + Dump("select * from CiDevice where SubjectId = " + k) + "|"
           + Dump("select * from cispeech where SubjectId = " + k);
}

} // namespace quorin::test
