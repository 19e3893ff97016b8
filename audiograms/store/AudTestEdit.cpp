#include "audiograms/store/AudTestEdit.h"

#include "document/CQuorinDoc.h"

namespace quorin {

bool MarkShownTestEdited(CQuorinDoc& doc)
{
    if (doc.m_nPageDir != 0)
        return false;
    doc.m_audCurrent.Dirty = 1;
    doc.m_subject.AudiogramClean = 0;
    return true;
}

} // namespace quorin
