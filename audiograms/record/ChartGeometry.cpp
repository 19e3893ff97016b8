#include "audiograms/record/ChartGeometry.h"

#include <cmath>

namespace quorin {

namespace {

// The nearest of an ascending list of positions; below the first one, 0 competes as
// the lower candidate, above the last one, the last one wins. Ties go up.
template <std::size_t N>
int Snap(const std::array<int, N>& positions, int v)
{
    int upper = positions[N - 1];
    int lower = 0;
    if (v <= positions[0]) {
        upper = positions[0];
        lower = 0;
    } else if (v < positions[N - 1]) {
        for (std::size_t i = 1; i < N; ++i) {
            if (positions[i] > v) {
                upper = positions[i];
                lower = positions[i - 1];
                break;
            }
        }
    } else {
        return positions[N - 1];
    }
    return (upper - v) > (v - lower) ? lower : upper;
}

} // namespace

ChartGeometry::ChartGeometry(int width, int height)
    : m_width(width), m_height(height), m_dx((width - 190) / 16), m_dy((height - 90) / 14)
{
    m_halfStep = std::floor(m_dy / 2.0) + 0.5;
    // Level steps in pairs: the half-way point above each line, then the line.
    int previous = kTop;
    for (int i = 1; i <= 14; ++i) {
        const int line = RowLineY(i);
        m_levels[static_cast<std::size_t>(2 * (i - 1))] = (previous + line) / 2;
        m_levels[static_cast<std::size_t>(2 * (i - 1) + 1)] = line;
        previous = line;
    }
    // The solid lines 125 ... 8000 Hz at odd columns, the dotted ones in between.
    const int solid[] = {0, 1, 2, 4, 6, 8, 10};
    for (int k = 0; k < 7; ++k)
        m_freq[static_cast<std::size_t>(solid[k])] = kLeft + (2 * k + 1) * m_dx;
    const int dotted[] = {3, 5, 7, 9};
    const double column[] = {6.2, 8.2, 10.2, 12.2};
    for (int k = 0; k < 4; ++k)
        m_freq[static_cast<std::size_t>(dotted[k])] = static_cast<int>(m_dx * column[k] + kLeft);
}

double ChartGeometry::FreqIndexPosition(int index)
{
    static constexpr double kColumns[] = {1.0, 3.0, 5.0, 6.2, 7.0, 8.2, 9.0, 10.2, 11.0, 12.2, 13.0};
    return index >= 0 && index < kFrequencies ? kColumns[index] : 0.0;
}

int ChartGeometry::PointX(int x) const
{
    return static_cast<int>(m_dx * FreqIndexPosition(x) + kLeft);
}

int ChartGeometry::PointY(int y) const
{
    return static_cast<int>((y + 1) * m_halfStep + kTop);
}

int ChartGeometry::SnapX(int px) const
{
    return Snap(m_freq, px);
}

int ChartGeometry::SnapY(int py) const
{
    // Below the last step the last step wins, as for the frequencies.
    return Snap(m_levels, py);
}

int ChartGeometry::FrequencyIndexOf(int fx) const
{
    for (int i = 0; i < kFrequencies; ++i)
        if (m_freq[static_cast<std::size_t>(i)] == fx)
            return i;
    return -1;
}

int ChartGeometry::LevelIndexOf(int fy) const
{
    for (int i = 0; i < kLevels; ++i)
        if (m_levels[static_cast<std::size_t>(i)] == fy)
            return i;
    return -1;
}

bool ChartGeometry::OnGrid(int px, int py) const
{
    return px >= kLeft && px <= GridRight() && py >= kTop && py <= GridBottom();
}

} // namespace quorin
