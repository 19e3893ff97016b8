#pragma once
// Editing the working audiogram with the mouse: a click on the chart places the chosen
// symbol at the nearest frequency and 5 dB step, or erases what is there. Questions and
// refusals go through the document's user-interface service.

class CQuorinDoc;

namespace quorin {

class ChartGeometry;

// The chart's tool state; it lives as long as the chart view.
struct ChartTools {
    static constexpr int kNone = 0;
    static constexpr int kEraser = 13;

    int m_nTool = kNone;     // the symbol code a click places, 13 = Eraser
    int m_bEditExisting = 0; // the Edit toggle: clicks change the shown test
};

// The symbol code of a tool command (32795..32805); -1 for any other id.
int ToolOfCommand(unsigned id);

// The class of a newly placed symbol by its tool.
int TypeOfTool(int tool);

enum class ClickResult {
    Refused,   // the shown test is an older one: the user was told
    Ignored,   // no tool, or not on a grid position: nothing happens
    Unchanged, // the click landed, the point list stayed as it was
    Changed    // a point was placed, taken over or erased
};

// One click at pixel (px, py) of a chart drawn with the geometry; shift = the
// no-response variant. A change of the point list marks the test for saving.
ClickResult ClickChart(CQuorinDoc& doc, ChartTools& tools, const ChartGeometry& geometry, int px, int py,
                       bool shift);

} // namespace quorin
