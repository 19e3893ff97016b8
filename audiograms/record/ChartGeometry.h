#pragma once
// The arithmetic of the audiogram chart for a drawing of W x H pixels: where the grid,
// its frequency lines and its 5 dB steps are, where a point is drawn, and how a click
// snaps to the nearest frequency and level. Shared by the screen, images and printing.

#include <array>
#include <cstddef>

namespace quorin {

class ChartGeometry {
public:
    static constexpr int kTop = 60;
    static constexpr int kLeft = 60;
    static constexpr int kFrequencies = 11;
    static constexpr int kLevelSnaps = 28; // -5 dB .. 130 dB
    static constexpr int kLevels = 27;     // level indexes 0..26 (-5 dB .. 125 dB)

    ChartGeometry(int width, int height);

    int Width() const { return m_width; }
    int Height() const { return m_height; }
    int Dx() const { return m_dx; }               // pixels per grid column
    int Dy() const { return m_dy; }               // pixels per 10 dB row
    double HalfStep() const { return m_halfStep; } // pixels per 5 dB
    int GridRight() const { return kLeft + 14 * m_dx; }
    int GridBottom() const { return kTop + 14 * m_dy; }

    // The column of a frequency index (0..10); 0.0 for any other index.
    static double FreqIndexPosition(int index);

    // x of the line of frequency index 0..10; y of level snap position 0..27.
    int FrequencyX(int index) const { return m_freq[static_cast<std::size_t>(index)]; }
    int LevelSnapY(int index) const { return m_levels[static_cast<std::size_t>(index)]; }
    // y of horizontal grid line i = 1..14, and x of the solid line k (column k).
    int RowLineY(int i) const { return kTop + i * m_dy; }

    // Where a point of frequency index x and level index y is drawn.
    int PointX(int x) const;
    int PointY(int y) const;

    // The nearest frequency line / level step to a click, as pixel values; 0 when the
    // click is nearer the margin than the first line. A tie goes to the upper one.
    int SnapX(int px) const;
    int SnapY(int py) const;

    // Index of a snapped pixel value among the frequency lines (0..10) or the level
    // steps that have a level index (0..26); -1 when it is none of them.
    int FrequencyIndexOf(int fx) const;
    int LevelIndexOf(int fy) const;

    // Whether a click falls on the grid (its border included).
    bool OnGrid(int px, int py) const;

private:
    int m_width;
    int m_height;
    int m_dx;
    int m_dy;
    double m_halfStep;
    std::array<int, kFrequencies> m_freq{};
    std::array<int, kLevelSnaps> m_levels{};
};

} // namespace quorin
