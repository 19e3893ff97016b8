#pragma once
// View > Change History: beside the main window, who added, changed and removed what of
// the subject that was open when the window was opened (its command reopens it on the
// subject open then), and when, newest first. Print (printers and PDF) and Save (CSV) as
// every report; Enter or a double click on an audiogram's row pages the audiogram to
// that test. Offered to administrators while a subject is open.

#include "reports/ui/CReportDlg.h"

class ChangeHistoryWindow : public CReportDlg {
    Q_OBJECT
public:
    ChangeHistoryWindow(CQuorinDoc& document, QWidget* parent = nullptr);

    // Under the title that names the subject.
    void OnPrint() override;
    void OnSave();
    // The picked row's audiogram test on the audiogram pages; other rows do nothing.
    void OnOpenTest();

protected:
    std::vector<Column> Columns() const override;
    void BuildList(quorin::CReportQuery& query, CReportList& list) override;
    void OnInitDialog() override;
    void OnReopen() override;

private:
    // The document's open subject becomes the one shown, named in the caption.
    void TakeOpenSubject();
    void WidenColumns();

    int m_subjectId = -1;
    QString m_title;
};

namespace quorin {
// Registers the window, its template and View > Change History. Called once at start-up.
void RegisterChangeHistoryWindow();
} // namespace quorin
