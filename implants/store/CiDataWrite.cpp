// Storing the subject's cochlear-implant history, devices and speech rows, each in one
// transaction (a failure leaves the stored set as it was), writing only what changed so
// that the change history holds only real changes.

#include "document/CQuorinDoc.h"
#include "rules/DateText.h"
#include "document/SessionValues.h"
#include "document/SessionTransaction.h"
#include "document/RowSetChanges.h"
#include "implants/store/CiRows.h"
#include "rules/SqlText.h"

#include <algorithm>

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

// A date column as the tab loaded it: an empty one is NULL or the empty date.
QString StoredDate(const QString& column, const QString& loaded)
{
    if (loaded.trimmed().isEmpty())
        return QStringLiteral(" and isnull(convert(char(10), %1, 101), '') in ('', '01/01/1900')").arg(column);
    return QStringLiteral(" and convert(char(10), %1, 101) = '%2'").arg(column, Text(loaded));
}

// A stored device, told by every value as the tab loaded it.
bool DeleteDevice(MyADO& db, int subjectId, const CCiDevice& d)
{
    const QString sql = QStringLiteral("Delete from CiDevice where SubjectId = %1 and Ear = '%2' and Device = '%3' "
                                       "and Positioner = '%4' and AgeAtImplant = %5 and Surgeon = '%6' and "
                                       "Hospital = '%7' and Status = '%8'")
                            .arg(QString::number(subjectId), Text(d.Ear), Text(d.Device), Text(d.Positioner),
                                 QString::number(d.AgeAtImplant), Text(d.Surgeon), Text(d.Hospital), Text(d.Status))
        + StoredDate(QStringLiteral("SurgDate"), d.SurgDate) + StoredDate(QStringLiteral("StimDate"), d.StimDate)
        + StoredDate(QStringLiteral("ExplantDate"), d.ExplantDate);
    return RunText(db, sql) != 0;
}

bool DeleteSpeechRow(MyADO& db, int subjectId, const CCiSpeech& s)
{
    const QString sql = QStringLiteral("Delete from cispeech where SubjectId = %1 and DataType = '%2' and TestType = "
                                       "'%3' and TestName = '%4' and abs(Score - (%5)) < 0.005 and TimeIS = %6 and "
                                       "Condition = '%7'")
                            .arg(QString::number(subjectId), Text(s.DataType), Text(s.TestType), Text(s.TestName),
                                 QString::number(s.Score, 'g', 9), QString::number(s.TimeIS), Text(s.Condition));
    return RunText(db, sql) != 0;
}

// Brings one stored set to the typed one: an unchanged set is left alone; otherwise only
// the rows that differ are deleted and added, and when that cannot be done row by row, or
// does not read back as typed, the set is written again whole. False when a statement
// failed.
template <typename Row>
bool WriteSet(MyADO& db, int subjectId, const std::vector<Row>& typed,
              bool (*read)(MyADO&, int, std::vector<Row>&), bool (*sameRow)(const Row&, const Row&),
              bool (*remove)(MyADO&, int, const Row&), bool (*write)(MyADO&, int, const Row&),
              const QString& deleteAll)
{
    const auto same = [sameRow](const std::vector<Row>& a, const std::vector<Row>& b) {
        return std::equal(a.begin(), a.end(), b.begin(), b.end(), sameRow);
    };
    std::vector<Row> stored;
    if (!read(db, subjectId, stored))
        return false;
    if (same(stored, typed))
        return true;
    const auto never = [](const Row&, const Row&) { return false; };
    if (const auto changes = quorin::ChangesBetween(stored, typed, sameRow, never)) {
        for (const Row& row : changes->deleted)
            if (!remove(db, subjectId, row))
                return false;
        for (const Row& row : changes->added)
            if (!write(db, subjectId, row))
                return false;
        std::vector<Row> now;
        if (!read(db, subjectId, now))
            return false;
        if (same(now, typed))
            return true;
    }
    if (RunText(db, deleteAll) == 0)
        return false;
    for (const Row& row : typed)
        if (!write(db, subjectId, row))
            return false;
    return true;
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
        if (written)
            written = WriteSet<CCiDevice>(m_db, id, m_ciData.Devices, &quorin::ReadCiDevices, &quorin::SameDevice,
                                          &DeleteDevice, &WriteDevice,
                                          QStringLiteral("Delete from cidevice where subjectid = %1").arg(id));
        ok = written && transaction.Commit();
    }
    // The failed set's ROLLBACK ended any transaction around this save as well: the
    // speech rows would be committed on their own.
    if (!ok)
        return 0;
    {
        quorin::SessionTransaction transaction(m_db);
        const bool written =
            transaction.Started()
            && WriteSet<CCiSpeech>(m_db, id, m_ciSpeechList, &quorin::ReadCiSpeechRows, &quorin::SameSpeechRow,
                                   &DeleteSpeechRow, &WriteSpeechRow,
                                   QStringLiteral("Delete from cispeech where subjectid = %1").arg(id));
        ok = written && transaction.Commit();
    }
    return ok ? 1 : 0;
}
