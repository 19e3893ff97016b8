#pragma once
// Audiogram Manager Database Search Results: lists the clinic's patients that may be
// the subject being entered (by KV Number, else by names and birth date, else by
// names); OK or a double click copies the chosen patient's unit into the subject.

#include "framework/TemplateDialog.h"

class CQuorinDoc;
class CReportListCtrl;

class CAmSearchDlg : public CTemplateDialog {
    Q_OBJECT
public:
    CAmSearchDlg(CQuorinDoc& document, QWidget* parent = nullptr);

    // Runs the search and fills the list: the number of matches, -1 when the query
    // failed (the database library has shown its error).
    int Search();

    CReportListCtrl* List() const { return m_pList; }

protected:
    void OnOK() override;

private:
    CQuorinDoc& m_document;
    CReportListCtrl* m_pList;
};

namespace quorin {

// The template and the dialog kind UserInterface::Dialog::AmSearch: 1 OK, 2 Cancel or
// a failed search, -1 when nothing matched (the dialog never shows then).
void RegisterAmSearchDialog();

} // namespace quorin
