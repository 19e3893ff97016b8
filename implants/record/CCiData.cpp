#include "implants/record/CCiData.h"

void CCiData::Clear()
{
    *this = CCiData{};
}

bool CCiData::HasHistoryValues() const
{
    const int numbers[] = {DurationPriorL, DurationPriorR, HaTimeL, HaTimeR,
                           DurationUnaidedL, DurationUnaidedR};
    for (int n : numbers)
        if (n != 0)
            return true;
    const QString* texts[] = {&DegreePriorL, &DegreePriorR, &NatureL, &NatureR,
                              &EtiologyL, &EtiologyR, &Processor1, &Processor2};
    for (const QString* t : texts)
        if (!t->trimmed().isEmpty())
            return true;
    return false;
}
