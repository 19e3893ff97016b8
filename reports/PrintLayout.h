#pragma once
// The pages of a printed report, laid out from its title, today's date, its list and the
// printable area (H wide, V high, in device units): every page starts with the title,
// the date, row 0 of the list as the heading line and a rule; rows from 1 on follow, 35
// to a page. The drawing itself happens in the UI; this says what goes where.

#include <QString>

#include <vector>

class CReportList;

namespace quorin {

struct PrintText {
    enum Font { Title, Date, Heading, Body }; // T1, T2, A, T2
    Font font = Body;
    bool centred = false; // centred on x; otherwise x is the left edge; y is always the top
    int x = 0;
    int y = 0;
    QString text;
};

struct PrintRule {
    int x1 = 0, y1 = 0, x2 = 0, y2 = 0;
};

class CPrintLayout {
public:
    static constexpr int kLinesPerPage = 35;

    CPrintLayout(const QString& title, const QString& today, const CReportList& list, double width, double height);

    // At least one: a list with only its heading row, or none at all, prints one page
    // with the page header.
    int PageCount() const { return m_pageCount; }
    // The page header, then the page's body lines, row by row and column by column.
    std::vector<PrintText> PageTexts(int page) const;
    PrintRule Rule() const;

    // Heights of the three fonts and the pen width, in device units.
    int TitleFontHeight() const { return int(m_height * 0.04); }
    int TextFontHeight() const { return int(m_height * 0.02); }
    int HeadingFontHeight() const { return int(m_height * 0.02); }
    int PenWidth() const { return int(m_height * 0.001); }

    double ColumnStep() const { return m_step; }
    double BodyTop() const { return m_bodyTop; }
    int CellLimit() const { return m_cellLimit; }
    double LeftMargin() const { return m_left; }

private:
    const CReportList& m_list;
    QString m_title;
    QString m_today;
    double m_width;
    double m_height;
    int m_columns;
    double m_left;
    double m_step;
    double m_bodyTop;
    int m_cellLimit;
    int m_pageCount;
};

} // namespace quorin
