#pragma once
// What every report window shares: its template with the list (1043), the document it
// reads through, the columns it sets up, one fill through the common fill helper, the
// From (1097) and To (1098) range where the template has them, Query (1099) and Print
// (1100) with the report's print title. A report only gives its columns and its
// statements and rows.

#include "framework/TemplateDialog.h"
#include "reports/ui/ReportControlIds.h"
#include "reports/query/ReportFill.h"

#include <QString>

#include <vector>

class CQuorinDoc;
class CReportList;
class CReportListCtrl;

class CReportDlg : public CTemplateDialog {
    Q_OBJECT
public:
    enum {
        IDC_LIST = res::report::kList,
        IDC_FROM = res::report::kFrom,
        IDC_TO = res::report::kTo,
        IDC_QUERY = res::report::kQuery,
        IDC_PRINT = res::report::kPrint,
        IDC_SAVE = res::report::kSave
    };

    struct Column {
        QString heading;
        int width = 0; // pixels
    };

    CReportDlg(int templateId, CQuorinDoc& document, const QString& printTitle, QWidget* parent = nullptr);

    CReportListCtrl* List() const { return m_pList; }
    CQuorinDoc& Document() const { return m_document; }
    const QString& PrintTitle() const { return m_printTitle; }

    // Deletes every row and fills the list again; false (list empty) when a statement
    // failed.
    bool Refill();
    // Print: the list under the print title.
    virtual void OnPrint();
    // Query: takes the typed options and fills again.
    virtual void OnQuery();
    // The row the user picked, or -1 after "Please make a selection!".
    int SelectedRow();

    QString m_strFrom;
    QString m_strTo;

protected:
    virtual std::vector<Column> Columns() const = 0;
    // The widths of Columns(), in their order.
    std::vector<int> GivenWidths() const;
    // The report's statements and rows; a failed statement ends it (see ReportFill.h).
    virtual void BuildList(quorin::CReportQuery& query, CReportList& list) = 0;

    // From starts as given and To as today (Today()) when the window opens; an empty To
    // default leaves To empty.
    void SetDateRangeDefaults(const QString& from, bool toToday);
    // A double click (or Enter) on a row opens that row's subject (column 0 holds its
    // SubjectId) in the main window.
    void OpenSubjectsOnDoubleClick();
    // Whether the window fills its list as it opens (a few wait for a choice or Query).
    void SetFillOnOpen(bool fill) { m_fillOnOpen = fill; }

    void OnInitDialog() override;
    void DoDataExchange(CDataExchange* pDX) override;
    // Reopened by its command: the fill of the opening runs again, with the options the
    // window shows (a check box left on keeps its list).
    void OnReopen() override;

private:
    void OnListDoubleClick();

    CQuorinDoc& m_document;
    QString m_printTitle;
    CReportListCtrl* m_pList;
    bool m_hasRange = false;
    QString m_defaultFrom;
    bool m_defaultToToday = false;
    bool m_fillOnOpen = true;
};
