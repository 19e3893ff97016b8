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
    // The class of a symbol code (128 added or not).
    static int TypeOfSymbol(int symbol);
};
