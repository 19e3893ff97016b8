#pragma once
// One symbol plotted on the audiogram chart.
//
// xy is the stored key: frequency index x (0..10 = 125..8000 Hz) times 100 plus the
// level index y (0..26, hearing level 5 * (y - 1) dB HL).

class CAudPoint {
public:
    int xy = -1;
    int x = -1;
    int y = -1;
    int symbol = -1;  // 1..12, plus 128 for the no-response variant
    int mask = -1;
    int type = -1;
    int recent = 0;   // 1 = belongs to this test, 0 = carried over (drawn grey)

    // Sets x and y from a stored xy.
    void SplitXy();
    // The class of a symbol code (128 added or not), the one table of it: a chart tool's
    // points and the demo's take their class from here too. Header-only, so the demo data
    // maker needs no library of the records.
    static constexpr int TypeOfSymbol(int symbol)
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
};
