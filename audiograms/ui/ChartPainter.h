#pragma once
// One routine paints the audiogram chart - on the screen, into an image or on a printer
// page - for a drawing area of W x H logical pixels: grid and labels, the key, the
// header and the plotted symbols of the test.

#include <QColor>
#include <QSize>

class CAudRecord;
class QPainter;

namespace quorin {

// What the chart shows besides the grid.
struct ChartContent {
    const CAudRecord* record = nullptr;
    int historyLoaded = 0; // 1: "Audiogram <pos> of <total>" is shown
    int historyPos = 1;
    int historyTotal = 1;
};

// Paints the whole chart with its top-left corner at the painter's origin.
void PaintAudiogramChart(QPainter& painter, QSize size, const ChartContent& content);

// The colours of the chart: right ear, no ear, left ear, a symbol of an earlier test.
QColor ChartColour(int index);
// The ear colour of a base symbol code 1..12.
QColor SymbolColour(int code);

// Draws symbol code 1..12 (nothing for another code) around (x, y) in a chart of the
// given height, with its no-response mark when noResponse is set.
void DrawSymbol(QPainter& painter, int code, int x, int y, const QColor& colour, bool noResponse, int height);

// Selects Arial (or its metric twin) whose character cell is the given pixel height.
void SelectChartFont(QPainter& painter, int cellHeight);

} // namespace quorin
