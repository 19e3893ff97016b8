// The subject's audiogram history: the clinic's tests from the Audiogram Manager and
// the registry's earlier tests, merged newest first. Built once per subject, on the
// first Page Prev.

#include "document/CQuorinDoc.h"
#include "document/SessionValues.h"
#include "rules/KvNumber.h"

#include <deque>

using quorin::HasRow;
using quorin::RunText;
using quorin::UserInterface;

namespace {
// A subject with more tests than this shows only the newest of each database.
constexpr int kMaxTestsPerDatabase = 50;
} // namespace

void CQuorinDoc::BuildAudHistory()
{
    // The forms copy their controls into the document first; a form that refuses
    // has said why, and nothing is read.
    if (!UpdateAllViews(CDocumentView::HintHandOver))
        return;
    ReadAudHistory();
}

void CQuorinDoc::ReadAudHistory()
{
    // A build counts afresh, so a stopped build never shows another subject's total.
    ClearAudHistory();
    m_nHistoryCount = 0;

    std::vector<int> clinicTests;
    const quorin::sql::KvReading unit = quorin::sql::ReadKvNumber(m_subject.Unit);
    if (unit.kind == quorin::sql::KvReading::Kind::NotWhole) {
        // Nothing typed goes into the clinic's query; the registry's tests still page.
        m_ui.MessageBox(quorin::sql::KvNumberMessage(), UserInterface::Icon::Stop);
    } else if (unit.kind == quorin::sql::KvReading::Kind::Number) {
        if (!ConnectAud())
            return; // its message is shown; the history stays empty and is not rebuilt
        const int ran = RunText(m_dbAud, QStringLiteral("Select PatientIndex from info WHERE "
                                                        "PatientNum = %1 order by date desc ")
                                             .arg(unit.number));
        if (ran)
            for (; !m_dbAud.IsEOF() && int(clinicTests.size()) < kMaxTestsPerDatabase; m_dbAud.MoveNext())
                clinicTests.push_back(m_dbAud.GetIntField("PatientIndex"));
    }

    m_ui.BeginWaitCursor();
    std::deque<CAudRecord> clinic;
    for (int index : clinicTests) {
        CAudRecord r;
        ReadAmTestInfo(index, r);
        ReadAmImmittance(index, r);
        ReadAmFindings(index, r);
        ReadAmSpeech(index, r);
        ReadAmPoints(index, r);
        r.Latest = 0;
        // The current test is most often the import of this very clinic test; it is
        // on screen as the current test already.
        if (!m_audLatest.Info.TestDate.isEmpty() && CompareDates(r.Info.TestDate, m_audLatest.Info.TestDate) == 0)
            continue;
        clinic.push_back(std::move(r));
    }

    std::vector<int> registryTests;
    m_db.BindIntParam("@subjectid", m_subject.SubjectID);
    const int ran = m_db.RunStoredProcedure("uspGetAudHistoryTestIds");
    if (ran)
        for (; !m_db.IsEOF() && int(registryTests.size()) < kMaxTestsPerDatabase; m_db.MoveNext())
            registryTests.push_back(m_db.GetIntField("TestId"));
    m_db.RemoveParams();
    std::deque<CAudRecord> registry;
    for (int testId : registryTests) {
        CAudRecord r;
        LoadHistoryAudiogram(testId, r);
        r.Latest = 0;
        registry.push_back(std::move(r));
    }

    // Merge newest first; a clinic test dated like a registry test is that test.
    while (!clinic.empty() && !registry.empty()) {
        const int order = CompareDates(clinic.front().Info.TestDate, registry.front().Info.TestDate);
        if (order == 1) {
            m_audHistory.push_back(std::move(clinic.front()));
            clinic.pop_front();
        } else {
            m_audHistory.push_back(std::move(registry.front()));
            registry.pop_front();
            if (order == 0)
                clinic.pop_front();
        }
    }
    for (auto* rest : {&clinic, &registry})
        for (CAudRecord& r : *rest)
            m_audHistory.push_back(std::move(r));
    m_nHistoryCount = int(m_audHistory.size());
    m_ui.EndWaitCursor();
}
