#pragma once
// The pages of a printed report, laid out from its title, today's date, its list and the
// printable area (H wide, V high, in device units): every page starts with the title,
// the date, row 0 of the list as the heading line and a rule; rows from 1 on follow, 35
// to a page. The drawing itself happens in the UI; this says what goes where.
//
// One rule places the columns of every report, measured in the printer's fonts, so that
// no text runs into another:
// - each column is as wide as its widest text (heading row in the heading font, body in
//   the text font), at most kWidestColumn of the line; a longer text is cut with "…" at
//   the column's edge; columns are a gap (one text height) apart;
// - when the line cannot hold them all, both fonts shrink step by step, down to
//   kSmallestFont of their size;
// - when it still cannot, the columns go onto page sets: the first columns that fit on
//   one set of pages, the next ones on another, each set with every row and the page
//   header; the pages of a set follow each other row page by row page (rows 1 to 35 of
//   set 1, rows 1 to 35 of set 2, rows 36 to 70 of set 1, ...).

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

// How wide a text is in one of the printer's fonts at a given height, in device units.
class PrintMeasure {
public:
    virtual ~PrintMeasure() = default;
    virtual int TextWidth(PrintText::Font font, int height, const QString& text) const = 0;
};

class CPrintLayout {
public:
    static constexpr int kLinesPerPage = 35;
    static constexpr double kWidestColumn = 0.45; // share of the line one column may take
    static constexpr double kSmallestFont = 0.6;  // share of the font's size it may shrink to

    CPrintLayout(const QString& title, const QString& today, const CReportList& list, double width, double height,
                 const PrintMeasure& measure);

    // At least one: a list with only its heading row, or none at all, prints one page
    // with the page header.
    int PageCount() const { return m_rowPages * PageSets(); }
    // How many page sets the columns need (1 when they fit across one page).
    int PageSets() const { return m_sets; }
    // The page header, then the page's body lines, row by row and column by column.
    std::vector<PrintText> PageTexts(int page) const;
    PrintRule Rule() const;

    // Heights of the fonts (after any shrinking) and the pen width, in device units.
    int TitleFontHeight() const { return int(m_height * 0.04); }
    int TextFontHeight() const { return m_textHeight; }
    int HeadingFontHeight() const { return m_textHeight; }
    int PenWidth() const { return int(m_height * 0.001); }
    // The text height the page was designed for; TextFontHeight() is at most this.
    int DesignedTextHeight() const { return int(m_height * 0.02); }

    double BodyTop() const { return m_bodyTop; }
    double LeftMargin() const { return m_left; }
    // Where each column starts and how wide it may print, and the page set it is on.
    struct Column {
        int x = 0;
        int width = 0;
        int set = 0;
    };
    const std::vector<Column>& Columns() const { return m_columnPlaces; }

private:
    // The widest text of every column at the text height.
    std::vector<int> NaturalWidths(int textHeight) const;
    // Places the columns at the text height; false when they need more than one set.
    bool Place(int textHeight, bool allowSets);
    QString Fitted(PrintText::Font font, const QString& text, int width) const;

    const CReportList& m_list;
    const PrintMeasure& m_measure;
    QString m_title;
    QString m_today;
    double m_width;
    double m_height;
    int m_columns;
    double m_left;
    double m_bodyTop;
    int m_textHeight = 0;
    int m_sets = 1;
    int m_rowPages = 1;
    std::vector<Column> m_columnPlaces;
};

} // namespace quorin
