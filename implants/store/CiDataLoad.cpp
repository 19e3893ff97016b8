// Reading the subject's cochlear-implant history, devices and speech rows.

#include "document/CQuorinDoc.h"
#include "document/SessionValues.h"

using quorin::HasRow;
using quorin::StringField;

void CQuorinDoc::LoadCiData(int subjectId)
{
    CCiData& ci = m_ciData;
    m_db.BindIntParam("@SubjectId", subjectId);
    if (HasRow(m_db, m_db.RunStoredProcedure("uspLoadCiData"))) {
        ci.HasCiData = 1;
        ci.DurationPriorL = m_db.GetIntField("DurationPriorL");
        ci.DurationPriorR = m_db.GetIntField("DurationPriorR");
        ci.DegreePriorL = StringField(m_db, "DegreePriorL");
        ci.DegreePriorR = StringField(m_db, "DegreePriorR");
        ci.NatureL = StringField(m_db, "NatureL");
        ci.NatureR = StringField(m_db, "NatureR");
        ci.EtiologyL = StringField(m_db, "EtiologyL");
        ci.EtiologyR = StringField(m_db, "EtiologyR");
        ci.HaL = m_db.GetIntField("HAL");
        ci.HaR = m_db.GetIntField("HAR");
        ci.HaTimeL = m_db.GetIntField("HaTimeL");
        ci.HaTimeR = m_db.GetIntField("HaTimeR");
        ci.DurationUnaidedL = m_db.GetIntField("DurationUnaidedL");
        ci.DurationUnaidedR = m_db.GetIntField("DurationUnaidedR");
        ci.Processor1 = StringField(m_db, "Processor1");
        ci.Processor2 = StringField(m_db, "Processor2");
    } else {
        ci.HasCiData = 0;
    }
    m_db.RemoveParams();

    m_db.BindIntParam("@SubjectId", subjectId);
    if (m_db.RunStoredProcedure("uspLoadCiDevices")) {
        for (; !m_db.IsEOF(); m_db.MoveNext()) {
            CCiDevice d;
            d.Ear = StringField(m_db, "Ear");
            d.Device = StringField(m_db, "Device");
            d.Positioner = StringField(m_db, "Positioner");
            d.SurgDate = StringField(m_db, "surgdate");
            d.StimDate = StringField(m_db, "StimDate");
            d.AgeAtImplant = m_db.GetIntField("AgeAtImplant");
            d.Surgeon = StringField(m_db, "Surgeon");
            d.Hospital = StringField(m_db, "Hospital");
            d.Status = StringField(m_db, "Status");
            d.ExplantDate = StringField(m_db, "XDate");
            ci.Devices.push_back(d);
        }
    }
    m_db.RemoveParams();

    const QString sql = QStringLiteral("Select * from CiSpeech where SubjectId = %1").arg(subjectId);
    if (quorin::RunText(m_db, sql)) {
        int index = 0;
        for (; !m_db.IsEOF(); m_db.MoveNext()) {
            CCiSpeech row;
            row.Index = index++;
            row.DataType = StringField(m_db, "DataType");
            row.TestType = StringField(m_db, "TestType");
            row.TestName = StringField(m_db, "TestName");
            row.Score = m_db.GetFloatField("Score");
            row.TimeIS = m_db.GetIntField("TimeIS");
            row.Condition = StringField(m_db, "Condition");
            m_ciSpeechList.push_back(row);
        }
    }
}
