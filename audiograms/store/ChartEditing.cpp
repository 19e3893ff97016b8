#include "audiograms/store/ChartEditing.h"

#include "document/CQuorinDoc.h"
#include "audiograms/record/ChartGeometry.h"

#include <algorithm>

namespace quorin {

int ToolOfCommand(unsigned id)
{
    static constexpr int kTools[] = {1, 2, 3, 4, 5, 7, 6, 11, 10, 12, ChartTools::kEraser};
    if (id < 32795 || id > 32805)
        return -1;
    return kTools[id - 32795];
}

int TypeOfTool(int tool)
{
    // A tool draws its own symbol; the eraser's number has no class of its own.
    return CAudPoint::TypeOfSymbol(tool);
}

namespace {

bool PlacePoint(CAudRecord& record, int tool, int x, int y, bool shift)
{
    CAudPoint point;
    point.symbol = tool + (shift ? 128 : 0);
    point.recent = 1;
    point.type = TypeOfTool(tool);
    point.x = x;
    point.y = y;
    point.xy = x * 100 + y;

    // Every point at this frequency of the same kind follows the click: an old symbol
    // of the same class, or the same symbol with or without its no-response mark.
    bool takenOver = false;
    bool changed = false;
    for (CAudPoint& old : record.Points) {
        if (old.x != point.x)
            continue;
        const bool sameKind = (old.type == point.type && old.recent == 0) || old.symbol == point.symbol
                              || old.symbol - point.symbol == 128 || point.symbol - old.symbol == 128;
        if (!sameKind)
            continue;
        changed = changed || old.symbol != point.symbol || old.y != point.y || old.recent != 1;
        old.symbol = point.symbol;
        old.y = point.y;
        old.xy = point.xy;
        old.recent = 1;
        takenOver = true;
    }
    if (!takenOver) {
        record.Points.push_back(point);
        changed = true;
    }
    return changed;
}

bool ErasePoints(CAudRecord& record, int xy)
{
    const auto before = record.Points.size();
    std::erase_if(record.Points, [xy](const CAudPoint& p) { return p.xy == xy; });
    return record.Points.size() != before;
}

} // namespace

ClickResult ClickChart(CQuorinDoc& doc, ChartTools& tools, const ChartGeometry& geometry, int px, int py,
                       bool shift)
{
    if (doc.m_nPageDir != 0) {
        doc.UI().MessageBox(QStringLiteral("You Cannot Alter this Test!"), UserInterface::Icon::Stop);
        return ClickResult::Refused;
    }
    // Without a tool, or off the grid's frequencies and levels, a click would store a
    // point that is never drawn, or one drawn at the edge: it does nothing instead.
    const bool eraser = tools.m_nTool == ChartTools::kEraser;
    if (tools.m_nTool < 1 || tools.m_nTool > ChartTools::kEraser || !geometry.OnGrid(px, py))
        return ClickResult::Ignored;
    const int x = geometry.FrequencyIndexOf(geometry.SnapX(px));
    const int y = geometry.LevelIndexOf(geometry.SnapY(py));
    if (x < 0 || y < 0)
        return ClickResult::Ignored;

    if (doc.m_bNewAudStarted == 0 && tools.m_bEditExisting == 0) {
        if (doc.UI().MessageBox(QStringLiteral("Enter a New Audiogram?"), UserInterface::Icon::Default,
                                UserInterface::Buttons::YesNo)
            == UserInterface::Answer::Yes) {
            doc.m_audCurrent.StartNewAudiogram();
            doc.m_bAudDataFilled = 0;
            doc.m_bAudOtherFilled = 0;
            doc.m_bNewAudStarted = 1;
            doc.m_subject.AudiogramClean = 0;
        } else {
            tools.m_bEditExisting = 1;
        }
    }

    CAudRecord& record = doc.m_audCurrent;
    const bool changed = eraser ? ErasePoints(record, x * 100 + y) : PlacePoint(record, tools.m_nTool, x, y, shift);
    if (!changed)
        return ClickResult::Unchanged;
    // A chart edit alone must reach the database with the next save.
    record.Dirty = 1;
    doc.m_subject.AudiogramClean = 0;
    return ClickResult::Changed;
}

} // namespace quorin
