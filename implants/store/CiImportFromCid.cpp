// Copying a CID patient's implant history, devices and speech results into the open
// subject. Everything is read into scratch records first: the subject's data change
// only when every statement ran and the patient exists, so a failed read never leaves a
// half-empty history for the next save.

#include "document/CQuorinDoc.h"
#include "document/SessionValues.h"
#include "database/ColumnLength.h"
#include "implants/store/CidAccess.h"

#include <string_view>

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

// The registry column a CID text goes into, and the text.
struct StoredText {
    std::string_view table;
    std::string_view column;
    const QString* value;
};

// The first text longer than its registry column, as "table.column": such a patient's
// save would be refused whole, so it is not imported at all.
QString FirstTooLong(const CCiData& ci, const std::vector<CCiSpeech>& speech)
{
    std::vector<StoredText> texts = {
        {"cidata", "DegreePriorL", &ci.DegreePriorL}, {"cidata", "DegreePriorR", &ci.DegreePriorR},
        {"cidata", "NatureL", &ci.NatureL},           {"cidata", "NatureR", &ci.NatureR},
        {"cidata", "EtiologyL", &ci.EtiologyL},       {"cidata", "EtiologyR", &ci.EtiologyR},
        {"cidata", "Processor1", &ci.Processor1},     {"cidata", "Processor2", &ci.Processor2},
    };
    for (const CCiDevice& d : ci.Devices)
        texts.insert(texts.end(), {{"CiDevice", "Ear", &d.Ear},
                                   {"CiDevice", "Device", &d.Device},
                                   {"CiDevice", "Positioner", &d.Positioner},
                                   {"CiDevice", "Surgeon", &d.Surgeon},
                                   {"CiDevice", "Hospital", &d.Hospital},
                                   {"CiDevice", "Status", &d.Status}});
    for (const CCiSpeech& s : speech)
        texts.insert(texts.end(), {{"cispeech", "TestType", &s.TestType},
                                   {"cispeech", "TestName", &s.TestName},
                                   {"cispeech", "Condition", &s.Condition}});
    for (const StoredText& t : texts) {
        const int length = quorin::schema::FindColumnLength(t.table, t.column);
        if (length > 0 && t.value->size() > length)
            return QString::fromLatin1(t.table.data(), qsizetype(t.table.size())) + QLatin1Char('.')
                   + QString::fromLatin1(t.column.data(), qsizetype(t.column.size()));
    }
    return QString();
}

} // namespace

namespace quorin {

CidImport ImportCidPatient(CQuorinDoc& document, int patientId, MyADO* cid)
{
    CidImport result;
    MyADO own;
    MyADO* session = cid;
    if (!session || !session->IsConnected()) {
        if (!ConnectCid(document, own))
            return result;
        session = &own;
    }
    CCiData ci;
    std::vector<CCiSpeech> speech;
    if (!ReadPatient(*session, patientId, ci) || !ReadProcessors(*session, patientId, ci)
        || !ReadDevices(*session, patientId, ci) || !ReadSpeech(*session, patientId, speech))
        return result;
    result.column = FirstTooLong(ci, speech);
    if (!result.column.isEmpty()) {
        result.outcome = CidImport::Outcome::TooLong;
        return result;
    }
    // The S/L/L tests are the registry's own, not CID's: they stay, including those typed
    // since the last save.
    document.m_ciData = std::move(ci);
    document.m_ciSpeechList = std::move(speech);
    result.outcome = CidImport::Outcome::Done;
    return result;
}

} // namespace quorin

int CQuorinDoc::ImportCiFromCid(int patientId, MyADO* cid)
{
    return quorin::ImportCidPatient(*this, patientId, cid).outcome == quorin::CidImport::Outcome::Done ? 1 : 0;
}
