// Copying a CID patient's implant history, devices and speech results into the open
// subject. Everything is read into scratch records first: the subject's data change
// only when every statement ran and the patient exists, so a failed read never leaves a
// half-empty history for the next save.

#include "app/CQuorinDoc.h"
#include "app/DbString.h"
#include "implants/CidAccess.h"

using quorin::RunText;
using quorin::StringField;

namespace {

// CID's dates come as CONVERT(char, …, 101), which SQL Server pads with blanks.
QString DateField(MyADO& db, const char* column)
{
    return StringField(db, column).trimmed();
}

bool ReadPatient(MyADO& cid, int patientId, CCiData& ci)
{
    const QString sql =
        QStringLiteral("Select PatientId, DurationLeft,DurationRight,DegreePriorLeft,DegreePriorRight, "
                       "NatureOnsetLeft,NatureOnsetRight,EtiologyLeft,Etiologyright,HaLeft,HaTimeLeft, "
                       "HaRight,HaTimeRight,UnaidedLeft,UnaidedRight from patient where patientid = %1 ")
            .arg(patientId);
    if (!RunText(cid, sql) || cid.IsEOF())
        return false;
    ci.HasCiData = 1;
    ci.DurationPriorL = cid.GetIntField("DurationLeft");
    ci.DurationPriorR = cid.GetIntField("DurationRight");
    ci.DegreePriorL = StringField(cid, "DegreePriorLeft");
    ci.DegreePriorR = StringField(cid, "DegreePriorRight");
    ci.NatureL = StringField(cid, "NatureOnsetLeft");
    ci.NatureR = StringField(cid, "NatureOnsetRight");
    ci.EtiologyL = StringField(cid, "EtiologyLeft");
    ci.EtiologyR = StringField(cid, "Etiologyright");
    ci.HaL = cid.GetIntField("HaLeft");
    ci.HaR = cid.GetIntField("HaRight");
    ci.HaTimeL = cid.GetIntField("HaTimeLeft");
    ci.HaTimeR = cid.GetIntField("HaTimeRight");
    ci.DurationUnaidedL = cid.GetIntField("UnaidedLeft");
    ci.DurationUnaidedR = cid.GetIntField("UnaidedRight");
    return true;
}

bool ReadProcessors(MyADO& cid, int patientId, CCiData& ci)
{
    // EXTERNAL is a reserved word on SQL Server: the table is named in brackets.
    const QString sql =
        QStringLiteral("Select Processor from [external] where PatientId = %1 order by DateFit desc ").arg(patientId);
    if (!RunText(cid, sql))
        return false;
    // The latest fitting first; older ones than the second are not kept.
    if (!cid.IsEOF()) {
        ci.Processor1 = StringField(cid, "Processor");
        cid.MoveNext();
        if (!cid.IsEOF())
            ci.Processor2 = StringField(cid, "Processor");
    }
    return true;
}

bool ReadDevices(MyADO& cid, int patientId, CCiData& ci)
{
    const QString sql =
        QStringLiteral("SELECT     Ear,Device, Positioner, CONVERT(char,SurgeryDate,101) as SurgDate, "
                       "CONVERT(char,StimDate,101) as StimDate, AgeAtImplant, Surgeon, Hospital, Status, "
                       "CONVERT(char,DateOfExplant,101) as XDate, PatientId FROM         [Internal] where "
                       "PatientId = %1 ORDER BY SurgeryDate desc ")
            .arg(patientId);
    if (!RunText(cid, sql))
        return false;
    for (; !cid.IsEOF(); cid.MoveNext()) {
        CCiDevice d;
        d.Ear = StringField(cid, "Ear");
        d.Device = StringField(cid, "Device");
        d.Positioner = StringField(cid, "Positioner");
        d.SurgDate = DateField(cid, "SurgDate");
        d.StimDate = DateField(cid, "StimDate");
        d.AgeAtImplant = cid.GetIntField("AgeAtImplant");
        d.Surgeon = StringField(cid, "Surgeon");
        d.Hospital = StringField(cid, "Hospital");
        d.Status = StringField(cid, "Status");
        d.ExplantDate = DateField(cid, "XDate");
        ci.Devices.push_back(d);
    }
    return true;
}

bool ReadSpeech(MyADO& cid, int patientId, std::vector<CCiSpeech>& speech)
{
    const QString sql =
        QStringLiteral("select type, name, score, time, Ear, testtype from speech where patientid = %1").arg(patientId);
    if (!RunText(cid, sql))
        return false;
    for (; !cid.IsEOF(); cid.MoveNext()) {
        CCiSpeech s;
        s.TestType = StringField(cid, "type");
        s.TestName = StringField(cid, "name");
        s.Score = cid.GetFloatField("score");
        s.TimeIS = cid.GetIntField("time");
        s.Condition = StringField(cid, "Ear");
        s.DataType = cid.GetIntField("testtype") == 1 ? QStringLiteral("Pre Implant") : QStringLiteral("Post Implant");
        speech.push_back(s);
    }
    return true;
}

} // namespace

int CQuorinDoc::ImportCiFromCid(int patientId, MyADO* cid)
{
    MyADO own;
    MyADO* session = cid;
    if (!session || !session->IsConnected()) {
        if (!quorin::ConnectCid(*this, own))
            return 0;
        session = &own;
    }
    CCiData ci;
    std::vector<CCiSpeech> speech;
    if (!ReadPatient(*session, patientId, ci) || !ReadProcessors(*session, patientId, ci)
        || !ReadDevices(*session, patientId, ci) || !ReadSpeech(*session, patientId, speech))
        return 0;
    // The S/L/L tests are the registry's own, not CID's: they stay, including those typed
    // since the last save.
    m_ciData = std::move(ci);
    m_ciSpeechList = std::move(speech);
    return 1;
}
