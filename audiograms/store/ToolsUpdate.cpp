// Tools > Update: the Audiogram Manager's newer clinic tests into the registry, subject
// by subject, through the bulk runner.

#include "audiograms/store/ToolsUpdate.h"

#include "document/CQuorinDoc.h"
#include "document/SessionValues.h"
#include "rules/SqlText.h"
#include "rules/KvNumber.h"
#include "audiograms/store/AmImport.h"
#include "subjects/record/AmStatus.h"

#include <map>
#include <unordered_set>

using quorin::UserInterface;

namespace quorin {

namespace {

// The date the registry's list gives a subject without a test: any clinic test is newer.
const QString kNoTestDate = QStringLiteral("1/1/1900");

// One procedure's rows, read to the end before the next statement runs on the session.
bool ReadLinks(MyADO& db, const char* procedure, bool withDate, std::vector<CSubjectLink>& out,
               std::unordered_set<int>& seen)
{
    if (!db.RunStoredProcedure(procedure))
        return false;
    for (; !db.IsEOF(); db.MoveNext()) {
        CSubjectLink link;
        link.SubjectId = db.GetIntField("SubjectId");
        // Read as text: a unit that is no whole number is named in the result, not read
        // as some other number.
        link.Unit = StringField(db, "Unit").trimmed();
        if (link.Unit == QLatin1String("0"))
            link.Unit.clear();
        link.LastTestDate = withDate ? StringField(db, "TestDate").trimmed() : kNoTestDate;
        // A subject listed twice would be updated twice.
        if (seen.insert(link.SubjectId).second)
            out.push_back(link);
    }
    return true;
}

// The newest clinic test's day of a checked KV Number, "" when none could be read.
QString NewestClinicDate(CQuorinDoc& document, const QString& unit)
{
    MyADO& aud = document.m_dbAud;
    // Not aliased "date": ORDER BY would then sort the MM/DD/YYYY text, not the dates.
    const int ran = RunText(aud, QStringLiteral("Select TOP 1 CONVERT(char, [Date], 101) AS newest from info "
                                                "where patientnum = %1 order by [Date] desc").arg(unit));
    return HasRow(aud, ran) ? StringField(aud, "newest").trimmed() : QString();
}

} // namespace

std::vector<BulkSkip> ToolsUpdateResult::NotUpdated() const
{
    std::vector<BulkSkip> out;
    for (const BulkSkip& s : run.others)
        if (s.reason != QLatin1String(kReasonNoNewerTest) && s.reason != QLatin1String(kReasonDryRun))
            out.push_back(s);
    return out;
}

bool AmUpdateJob::Candidates(CQuorinDoc& document, std::vector<CSubjectLink>& out)
{
    std::unordered_set<int> seen;
    return ReadLinks(document.m_db, "uspGetSubjectandDate", true, out, seen)
           && ReadLinks(document.m_db, "uspGetSubjectNoTest", false, out, seen);
}

std::optional<QString> AmUpdateJob::Check(CQuorinDoc& document, CSubjectLink& link)
{
    const sql::KvReading kv = sql::ReadKvNumber(link.Unit);
    if (kv.kind == sql::KvReading::Kind::None)
        return QString::fromLatin1(kReasonNoKv);
    // Said once per subject in the result, never as a box: a run over thousands of
    // subjects must not stop for each.
    if (kv.kind == sql::KvReading::Kind::NotWhole)
        return QString::fromLatin1(kReasonKvNotWhole);
    ++m_reads;
    switch (am::CheckNewerTest(document, kv.number, link.LastTestDate)) {
    case am::NewerTest::ReadFailed:
        ++m_readsFailed;
        return QString::fromLatin1(kReasonAudReadFailed);
    case am::NewerTest::None:
        return QString::fromLatin1(kReasonNoNewerTest);
    case am::NewerTest::Newer:
        break;
    }
    AmNewerTest newer;
    newer.SubjectId = link.SubjectId;
    newer.Unit = kv.number;
    newer.RegistryDate = link.LastTestDate;
    if (m_dryRun) {
        newer.ClinicDate = NewestClinicDate(document, kv.number);
        m_newer.push_back(newer);
        return QString::fromLatin1(kReasonDryRun);
    }
    m_newer.push_back(newer);
    return std::nullopt;
}

std::optional<QString> AmUpdateJob::Update(CQuorinDoc& document, const CSubjectLink& link)
{
    // The save would stop without a word on these (Interactive is 0): say why here.
    const CSubject& s = document.m_subject;
    if (s.Lastname.isEmpty() || s.Firstname.isEmpty() || s.DateInitial.isEmpty() || s.Birth.isEmpty())
        return QString::fromLatin1(kReasonIncompleteSubject);
    // The subject as loaded now: its KV Number names the clinic patient.
    const sql::KvReading kv = sql::ReadKvNumber(s.Unit);
    if (kv.kind != sql::KvReading::Kind::Number)
        return QString::fromLatin1(kReasonUnreadableTest);
    bool ran = false;
    const std::optional<int> newest = am::NewestTest(document, kv.number, &ran);
    if (!ran)
        return QString::fromLatin1(kReasonAudReadFailed);
    QString tooLong;
    if (!newest || !am::ImportAmTest(document, *newest, &tooLong))
        return tooLong.isEmpty() ? QString::fromLatin1(kReasonUnreadableTest)
                                 : QString::fromLatin1(kReasonAudTooLong) + tooLong;
    for (AmNewerTest& n : m_newer)
        if (n.SubjectId == link.SubjectId)
            n.ClinicDate = document.m_audCurrent.Info.TestDate;
    if (document.SaveSubject() != 1)
        return QString::fromLatin1(kReasonSaveFailed);
    return std::nullopt;
}

QString ChangedAmStatusQuery()
{
    // One comparison of the two databases, whatever the number of subjects: a status
    // left unsent by an interrupted run shows here at the next run.
    return QStringLiteral("Select distinct s.Unit as unit, CONVERT(char, s.Birthdate, 101) as birth, "
                          "s.Status as status from subjects s inner join Aud.dbo.info i "
                          "on i.PatientNum = s.Unit and i.Birthdate = s.Birthdate "
                          "where s.Unit <> 0 and i.Velmar <> %1")
        .arg(AmStatusWordSql(QStringLiteral("s.Status")));
}

std::optional<int> SendChangedAmStatus(CQuorinDoc& document)
{
    MyADO& db = document.m_db;
    if (!RunText(db, ChangedAmStatusQuery()))
        return std::nullopt;
    // Keyed as the statement names the patient; two registry subjects on one clinic
    // patient that disagree would undo each other at every run, so neither is sent.
    std::map<std::pair<int, QString>, int> wanted;
    std::map<std::pair<int, QString>, bool> conflicting;
    for (; !db.IsEOF(); db.MoveNext()) {
        const std::pair<int, QString> key{db.GetIntField("unit"), StringField(db, "birth").trimmed()};
        const int status = db.GetIntField("status");
        const auto [it, added] = wanted.emplace(key, status);
        if (!added && QLatin1String(AmStatusWord(it->second)) != QLatin1String(AmStatusWord(status)))
            conflicting[key] = true;
    }
    int sent = 0;
    bool failed = false;
    for (const auto& [key, status] : wanted) {
        if (conflicting.count(key))
            continue;
        if (RunText(document.m_dbAud, AmStatusUpdate(status, QString::number(key.first), sql::Text(key.second))))
            ++sent;
        else
            failed = true;
    }
    if (failed)
        return std::nullopt;
    return sent;
}

std::optional<ToolsUpdateResult> RunToolsUpdate(CQuorinDoc& document, bool dryRun)
{
    // Once, before anything else: a run without Aud could only say so once per subject.
    if (!document.ConnectAud())
        return std::nullopt;
    AmUpdateJob job(dryRun);
    CBulkUpdate runner(document);
    ToolsUpdateResult result;
    result.dryRun = dryRun;
    result.run = runner.Run(job);
    result.newer = std::move(job.Newer());
    result.allReadsFailed = job.AllReadsFailed();
    // Not after a cancel: the user asked for the run to stop.
    if (result.run.ran && !result.run.cancelled && !dryRun) {
        const std::optional<int> sent = SendChangedAmStatus(document);
        result.statusSent = sent.value_or(0);
        result.statusFailed = !sent;
    }
    return result;
}

} // namespace quorin

void CQuorinDoc::OnToolsUpdate()
{
    if (m_ui.MessageBox(QStringLiteral("Update Subject records from Audiogram Database and Medical Manager?\r\n"
                                       "Searching and updating my take some time."),
                        UserInterface::Icon::Default, UserInterface::Buttons::YesNo)
        != UserInterface::Answer::Yes)
        return;
    const std::optional<quorin::ToolsUpdateResult> result = quorin::RunToolsUpdate(*this);
    // Aud unreachable, the open subject's save stopped, or the registry's lists could
    // not be read: each has said so, and nothing was updated.
    if (!result || !result->run.ran)
        return;
    // A run whose every clinic read failed learnt nothing: shown as the failure it is.
    m_ui.MessageBox(quorin::BulkClosingText(result->run, quorin::kReasonAudReadFailed),
                    result->allReadsFailed ? UserInterface::Icon::Stop : UserInterface::Icon::Information);
}
