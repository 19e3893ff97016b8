#include "audiograms/store/ChartFirstDraw.h"

#include "document/CQuorinDoc.h"
#include "audiograms/store/AmImportOffers.h"
#include "subjects/store/SubjectIdentity.h"

namespace quorin {

FirstDrawResult RunChartFirstDrawChecks(CQuorinDoc& doc)
{
    if (!CheckSubjectIdentity(doc))
        return FirstDrawResult::Stopped;
    if (doc.m_subject.DateInitial.isEmpty()) {
        doc.UI().BringForward(UserInterface::Page::Subject);
        doc.UI().MessageBox(QStringLiteral("You must enter an Inital Date of Consent"), UserInterface::Icon::Stop);
        return FirstDrawResult::Stopped;
    }
    if (doc.m_bChartLoaded == 1)
        return FirstDrawResult::Done;

    CAudRecord& current = doc.m_audCurrent;
    // A stored subject was looked up when it was loaded: only a subject being entered
    // is matched against the registry and the Audiogram Manager.
    if (current.LoadAttempted == 1 || doc.m_subject.SubjectID != -1) {
        CheckForNewAmAudiogram(doc);
        doc.m_bChartLoaded = 1;
        if (current.TestId == -1 && doc.m_subject.AudiogramClean == 1)
            doc.UI().MessageBox(QStringLiteral("No Audiogram Found for this subject."), UserInterface::Icon::Stop);
        return FirstDrawResult::Done;
    }

    // A subject being entered: take the pages' edits, then offer the Audiogram Manager.
    if (!doc.UpdateAllViews(CDocumentView::HintHandOver))
        return FirstDrawResult::Stopped;
    current.LoadAttempted = 1;
    doc.m_bChartLoaded = 1;
    const int offered = doc.OfferAmSearch();
    if (doc.m_bChartLoaded == 0) {
        // The user chose the stored subject: it was loaded in place of the one being
        // entered, and its chart is checked now, newer-test offer included.
        return RunChartFirstDrawChecks(doc);
    }
    if (offered == 1) {
        // The search may have filled the unit, names and birth date: the Subject tab
        // shows them, or the next hand-over would blank them again.
        const int refresh = doc.RefreshSubjectForm;
        doc.RefreshSubjectForm = 1;
        doc.UpdateAllViews(CDocumentView::HintRefresh);
        doc.RefreshSubjectForm = refresh;
    }
    return FirstDrawResult::Done;
}

} // namespace quorin
