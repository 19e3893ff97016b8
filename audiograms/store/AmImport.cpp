// The check for a newer clinic test and its import into the current test.

#include "audiograms/store/AmImport.h"

#include "document/CQuorinDoc.h"
#include "document/SessionValues.h"
#include "rules/KvNumber.h"
#include "rules/DateText.h"
#include "database/ColumnLength.h"

#include <string_view>

using quorin::HasRow;
using quorin::RunText;

namespace quorin::am {

std::optional<QDate> ReadRealDay(const QString& text)
{
    const QString t = text.trimmed();
    if (t.isEmpty() || t.size() > kMaxDateChars)
        return std::nullopt;
    for (QChar c : t)
        if (!c.isDigit() && c != QLatin1Char('/') && c != QLatin1Char('-') && c != QLatin1Char('\\'))
            return std::nullopt;
    const std::optional<DateParts> parts = SplitDate(t);
    if (!parts || !IsRealDate(parts->month, parts->day, parts->year))
        return std::nullopt;
    return QDate(parts->year, parts->month, parts->day);
}

std::optional<QString> NewerFromDay(const QString& date)
{
    // The server reads an empty date as 01/01/1900.
    const std::optional<QDate> day =
        date.trimmed().isEmpty() ? std::optional<QDate>(QDate(1900, 1, 1)) : ReadRealDay(date);
    if (!day)
        return std::nullopt;
    // A clinic test carries its time of day; the registry keeps only the day. Newer
    // means a later day, or an imported 14:30 test would be newer than itself.
    return day->addDays(1).toString(QStringLiteral("MM/dd/yyyy"));
}

QString NewestTestsQuery(const QString& unit)
{
    return QStringLiteral("Select patientindex from info where patientnum = %1 "
                          "order by date desc, patientindex desc").arg(unit);
}

std::optional<int> NewestTest(CQuorinDoc& doc, const QString& unit, bool* ran)
{
    const int result = RunText(doc.m_dbAud, NewestTestsQuery(unit));
    if (ran)
        *ran = result != 0;
    if (!HasRow(doc.m_dbAud, result))
        return std::nullopt;
    return doc.m_dbAud.GetIntField("patientindex");
}

NewerTest CheckNewerTest(CQuorinDoc& doc, const QString& unit, const QString& date)
{
    const sql::KvReading kv = sql::ReadKvNumber(unit);
    if (kv.kind != sql::KvReading::Kind::Number)
        return NewerTest::None;
    const std::optional<QString> from = NewerFromDay(date);
    if (!from)
        return NewerTest::None;
    if (!doc.ConnectAud())
        return NewerTest::ReadFailed;
    MyADO& aud = doc.m_dbAud;
    const int ran = RunText(aud, QStringLiteral("Select patientindex from info WHERE date >= '%1' "
                                                "AND patientnum = %2 ").arg(*from, kv.number));
    if (!ran)
        return NewerTest::ReadFailed;
    return aud.IsEOF() ? NewerTest::None : NewerTest::Newer;
}

namespace {

// The first clinic text longer than the registry column it is saved into, as
// "table.column": such a test's save would be refused whole.
QString FirstTooLong(const CAudRecord& r)
{
    const struct {
        std::string_view column;
        const QString& value;
    } texts[] = {{"TestedBy", r.Info.TestedBy}, {"MatR", r.Speech.MatR}, {"MatL", r.Speech.MatL}};
    for (const auto& t : texts) {
        const int length = schema::FindColumnLength("aud", t.column);
        if (length > 0 && t.value.size() > length)
            return QStringLiteral("aud.") + QString::fromLatin1(t.column.data(), qsizetype(t.column.size()));
    }
    return QString();
}

} // namespace

bool ImportAmTest(CQuorinDoc& doc, int patientIndex, QString* tooLong)
{
    // Started from the subject's current test, also while a history test is shown.
    const bool historyShown = doc.m_audCurrent.Latest == 0;
    CAudRecord scratch;
    scratch.CopyAudRecord(historyShown ? doc.m_audLatest : doc.m_audCurrent);
    const int loadAttempted = scratch.LoadAttempted;
    scratch.StartNewAudiogram();
    scratch.LoadAttempted = loadAttempted;
    scratch.Latest = 1;
    scratch.Dirty = 1;

    // Without its information row a test would be stored as of 01/01/1901 and offered
    // again at every opening: such a test is not imported at all.
    const bool whole = doc.ReadAmTestInfo(patientIndex, scratch) && scratch.Info.Imported
                       && doc.ReadAmImmittance(patientIndex, scratch) && doc.ReadAmFindings(patientIndex, scratch)
                       && doc.ReadAmSpeech(patientIndex, scratch)
                       && doc.ReadAmCompositePoints(patientIndex, scratch);
    if (!whole)
        return false;
    const QString column = FirstTooLong(scratch);
    if (!column.isEmpty()) {
        if (tooLong)
            *tooLong = column;
        return false;
    }

    doc.m_audCurrent.CopyAudRecord(scratch);
    doc.m_audLatest.CopyAudRecord(scratch);
    // The imported test is the current test, shown now.
    doc.m_nHistoryPos = doc.m_nHistoryCount + 1;
    doc.m_nHistoryShown = -1;
    doc.m_nHistoryNext = -1;
    doc.m_nPageDir = 0;
    doc.m_subject.AudiogramClean = 0;
    // The Data and Comments tabs fill again from the imported test.
    doc.m_bAudDataFilled = 0;
    doc.m_bAudOtherFilled = 0;
    return true;
}

} // namespace quorin::am

int CQuorinDoc::HasNewerAmAudiogram(const QString& unit, const QString& date)
{
    return quorin::am::CheckNewerTest(*this, unit, date) == quorin::am::NewerTest::Newer ? 1 : 0;
}

int CQuorinDoc::ImportNewestAmAudiogram()
{
    const quorin::sql::KvReading kv = quorin::sql::ReadKvNumber(m_subject.Unit);
    if (kv.kind != quorin::sql::KvReading::Kind::Number)
        return 0;
    if (!ConnectAud())
        return 0;
    quorin::WaitCursor wait(m_ui);
    const std::optional<int> newest = quorin::am::NewestTest(*this, kv.number);
    if (!newest)
        return 0;
    return quorin::am::ImportAmTest(*this, *newest) ? 1 : 0;
}
