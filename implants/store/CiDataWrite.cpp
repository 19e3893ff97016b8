// Storing the subject's cochlear-implant history, devices and speech rows. Each set is
// replaced in one transaction when it changed (a failure leaves the stored set as it was)
// and left alone when it did not, so the change history holds only real changes.

#include "document/CQuorinDoc.h"
#include "rules/DateText.h"
#include "document/SessionValues.h"
#include "document/SessionTransaction.h"
#include "implants/store/CiRows.h"
#include "rules/SqlText.h"

using quorin::BindString;
using quorin::RunText;
using quorin::sql::Text;

namespace {

QString DateText(const QString& date)
{
    return Text(quorin::DbDate(date));
}

bool WriteHistory(MyADO& db, int subjectId, const CCiData& ci)
{
    db.BindIntParam("@SubjectId", subjectId);
    db.BindIntParam("@DurationPriorL", ci.DurationPriorL);
    db.BindIntParam("@DurationPriorR", ci.DurationPriorR);
    BindString(db, "@DegreePriorL", ci.DegreePriorL);
    BindString(db, "@DegreePriorR", ci.DegreePriorR);
    BindString(db, "@NatureL", ci.NatureL);
    BindString(db, "@NatureR", ci.NatureR);
    BindString(db, "@EtiologyL", ci.EtiologyL);
    BindString(db, "@EtiologyR", ci.EtiologyR);
    // No control shows the hearing-aid numbers: they are kept as loaded or imported.
    db.BindIntParam("@HaL", ci.HaL);
    db.BindIntParam("@HaR", ci.HaR);
    db.BindIntParam("@HaTimeL", ci.HaTimeL);
    db.BindIntParam("@HaTimeR", ci.HaTimeR);
    db.BindIntParam("@DurationUnaidedL", ci.DurationUnaidedL);
    db.BindIntParam("@DurationUnaidedR", ci.DurationUnaidedR);
    BindString(db, "@Processor1", ci.Processor1);
    BindString(db, "@Processor2", ci.Processor2);
    const int ok = db.RunStoredProcedure("uspWriteCiData");
    db.RemoveParams();
    return ok != 0;
}

bool WriteDevice(MyADO& db, int subjectId, const CCiDevice& d)
{
    const QString sql =
        QStringLiteral("Insert into CiDevice values(%1, '%2','%3','%4','%5','%6',%7, '%8','%9','%10','%11')")
            .arg(QString::number(subjectId), Text(d.Ear), Text(d.Device), Text(d.Positioner),
                 DateText(d.SurgDate), DateText(d.StimDate), QString::number(d.AgeAtImplant),
                 Text(d.Surgeon), Text(d.Hospital), Text(d.Status), DateText(d.ExplantDate));
    return RunText(db, sql) != 0;
}

bool WriteSpeechRow(MyADO& db, int subjectId, const CCiSpeech& s)
{
    const QString sql =
        QStringLiteral("Insert into cispeech values(%1, '%2', '%3', '%4', %5, %6, '%7')")
            .arg(QString::number(subjectId), Text(s.DataType), Text(s.TestType), Text(s.TestName),
                 QString::number(s.Score, 'f', 2), QString::number(s.TimeIS), Text(s.Condition));
    return RunText(db, sql) != 0;
}

} // namespace

int CQuorinDoc::WriteCiData()
{
    if (m_ciData.HasCiData == 0)
        return 1;
    const int id = m_subject.SubjectID;
    bool ok = true;
    {
        // The stored devices always become the list, so deleting the last one sticks;
        // a history typed without a device is kept too.
        // The history is written over the stored one in place (the change history then
        // holds only what changed) and removed when there is nothing to keep.
        quorin::SessionTransaction transaction(m_db);
        bool written = transaction.Started();
        if (written && (!m_ciData.Devices.empty() || m_ciData.HasHistoryValues())) {
            written = WriteHistory(m_db, id, m_ciData);
        } else if (written) {
            m_db.BindIntParam("@SubjectId", id);
            written = m_db.RunStoredProcedure("uspDeleteCiData") != 0;
            m_db.RemoveParams();
        }
        // An unchanged set is left alone; a changed one is written again whole.
        std::vector<CCiDevice> stored;
        if (written && (!quorin::ReadCiDevices(m_db, id, stored) || !quorin::SameDevices(stored, m_ciData.Devices))) {
            written = RunText(m_db, QStringLiteral("Delete from cidevice where subjectid = %1").arg(id)) != 0;
            for (const CCiDevice& d : m_ciData.Devices)
                if (written)
                    written = WriteDevice(m_db, id, d);
        }
        ok = written && transaction.Commit();
    }
    // The failed set's ROLLBACK ended any transaction around this save as well: the
    // speech rows would be committed on their own.
    if (!ok)
        return 0;
    {
        quorin::SessionTransaction transaction(m_db);
        bool written = transaction.Started();
        std::vector<CCiSpeech> stored;
        if (written && (!quorin::ReadCiSpeechRows(m_db, id, stored) || !quorin::SameSpeechRows(stored, m_ciSpeechList))) {
            written = RunText(m_db, QStringLiteral("Delete from cispeech where subjectid = %1").arg(id)) != 0;
            for (const CCiSpeech& s : m_ciSpeechList)
                if (written)
                    written = WriteSpeechRow(m_db, id, s);
        }
        ok = written && transaction.Commit();
    }
    return ok ? 1 : 0;
}
