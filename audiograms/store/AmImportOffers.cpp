// The chart's offer of a newer clinic test, made once per showing just after a paint.

#include "audiograms/store/AmImportOffers.h"

#include "document/CQuorinDoc.h"

namespace quorin {

int CheckForNewAmAudiogram(CQuorinDoc& doc)
{
    // Newer than the subject's current test, also while an older one is shown.
    const CAudRecord& current = doc.m_audCurrent.Latest == 0 ? doc.m_audLatest : doc.m_audCurrent;
    if (doc.HasNewerAmAudiogram(doc.m_subject.Unit, current.Info.TestDate) != 1)
        return 0;
    if (doc.UI().MessageBox(QStringLiteral("This Subject has a new audiogram\rin the Audiogram Manager "
                                           "Database.\r Would you like to import it?"),
                            UserInterface::Icon::Default, UserInterface::Buttons::YesNo)
        != UserInterface::Answer::Yes)
        return 0;
    return doc.ImportNewestAmAudiogram();
}

} // namespace quorin
