#include "implants/store/CiRows.h"

#include "dalport/MyADO.h"
#include "document/SessionValues.h"

#include <tuple>

namespace quorin {

namespace {

auto deviceValues(const CCiDevice& d)
{
    return std::tie(d.Ear, d.Device, d.Positioner, d.SurgDate, d.AgeAtImplant, d.StimDate, d.Status, d.Surgeon,
                    d.Hospital, d.ExplantDate);
}

auto speechValues(const CCiSpeech& s)
{
    return std::tie(s.DataType, s.TestType, s.TestName, s.Condition, s.Score, s.TimeIS);
}

} // namespace

bool ReadCiDevices(MyADO& db, int subjectId, std::vector<CCiDevice>& devices)
{
    db.BindIntParam("@SubjectId", subjectId);
    const int ran = db.RunStoredProcedure("uspLoadCiDevices");
    for (; ran && !db.IsEOF(); db.MoveNext()) {
        CCiDevice d;
        d.Ear = StringField(db, "Ear");
        d.Device = StringField(db, "Device");
        d.Positioner = StringField(db, "Positioner");
        d.SurgDate = StringField(db, "surgdate");
        d.StimDate = StringField(db, "StimDate");
        d.AgeAtImplant = db.GetIntField("AgeAtImplant");
        d.Surgeon = StringField(db, "Surgeon");
        d.Hospital = StringField(db, "Hospital");
        d.Status = StringField(db, "Status");
        d.ExplantDate = StringField(db, "XDate");
        devices.push_back(d);
    }
    db.RemoveParams();
    return ran != 0;
}

bool ReadCiSpeechRows(MyADO& db, int subjectId, std::vector<CCiSpeech>& rows)
{
    const int ran = RunText(db, QStringLiteral("Select * from CiSpeech where SubjectId = %1").arg(subjectId));
    int index = 0;
    for (; ran && !db.IsEOF(); db.MoveNext()) {
        CCiSpeech row;
        row.Index = index++;
        row.DataType = StringField(db, "DataType");
        row.TestType = StringField(db, "TestType");
        row.TestName = StringField(db, "TestName");
        row.Score = db.GetFloatField("Score");
        row.TimeIS = db.GetIntField("TimeIS");
        row.Condition = StringField(db, "Condition");
        rows.push_back(row);
    }
    return ran != 0;
}

bool SameDevice(const CCiDevice& a, const CCiDevice& b) { return deviceValues(a) == deviceValues(b); }

bool SameSpeechRow(const CCiSpeech& a, const CCiSpeech& b) { return speechValues(a) == speechValues(b); }

} // namespace quorin
