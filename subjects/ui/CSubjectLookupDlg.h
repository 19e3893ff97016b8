#pragma once
// Subject Lookup: lists the registry's subjects whose names begin with the texts typed
// on the Subject tab, and loads the chosen one into the document.

#include "framework/TemplateDialog.h"

#include <QString>

class CQuorinDoc;
class CReportListCtrl;

class CSubjectLookupDlg : public CTemplateDialog {
    Q_OBJECT
public:
    CSubjectLookupDlg(CQuorinDoc& document, QWidget* parent = nullptr);

    // The search start; "LAST, FIRST" in the last name splits into both.
    QString m_strLast;
    QString m_strFirst;

    CReportListCtrl* List() const { return m_pList; }

    // The LIKE patterns the search binds, from the two search texts.
    static void SearchPatterns(const QString& last, const QString& first, QString& lastPattern,
                               QString& firstPattern);

protected:
    void OnInitDialog() override;
    void OnOK() override;

private:
    void Search();

    CQuorinDoc& m_document;
    CReportListCtrl* m_pList;
};
