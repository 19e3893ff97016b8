// Reading the subject's cochlear-implant history, devices and speech rows.

#include "document/CQuorinDoc.h"
#include "document/SessionValues.h"
#include "implants/store/CiRows.h"

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

    quorin::ReadCiDevices(m_db, subjectId, ci.Devices);
    quorin::ReadCiSpeechRows(m_db, subjectId, m_ciSpeechList);
}
