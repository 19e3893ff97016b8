#include "audiograms/record/CAudPoint.h"

void CAudPoint::SplitXy()
{
    // The last two decimal digits are the level; what is left the frequency.
    y = xy % 100;
    x = (xy - y) / 100;
}
