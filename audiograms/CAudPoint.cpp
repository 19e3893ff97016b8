#include "audiograms/CAudPoint.h"

void CAudPoint::SplitXy()
{
    // The last two decimal digits are the level; what is left the frequency.
    y = xy % 100;
    x = (xy - y) / 100;
}

int CAudPoint::TypeOfSymbol(int symbol)
{
    switch (symbol & ~128) {
    case 1: case 2: return 1;
    case 3: case 4: return 0;
    case 5: return 4;
    case 6: return 5;
    case 7: return 2;
    default: return 3;
    }
}
