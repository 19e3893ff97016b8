#include "subjects/ui/CSubjectLookupDlg.h"

#include "document/CQuorinDoc.h"
#include "rules/AtoI.h"
#include "document/SessionValues.h"
#include "framework/ControlId.h"
#include "framework/ReportListCtrl.h"
#include "subjects/ui/SubjectTemplates.h"

using quorin::UserInterface;

namespace {

// Removes white space at the start only.
QString TrimmedLeft(const QString& text)
{
    qsizetype start = 0;
    while (start < text.size() && text.at(start).isSpace())
        ++start;
    return text.mid(start);
}

} // namespace

CSubjectLookupDlg::CSubjectLookupDlg(CQuorinDoc& document, QWidget* parent)
    : CTemplateDialog(res::IDD_SUBJECT_LOOKUP, parent), m_document(document)
{
    m_pList = framework::FindControlAs<CReportListCtrl>(this, res::lookup::IDC_LIST);
}

void CSubjectLookupDlg::SearchPatterns(const QString& last, const QString& first, QString& lastPattern,
                                       QString& firstPattern)
{
    lastPattern = last;
    firstPattern = first;
    const qsizetype comma = last.indexOf(QLatin1Char(','));
    if (comma > 0) {
        firstPattern = TrimmedLeft(last.mid(comma + 1));
        lastPattern = TrimmedLeft(last.left(comma));
    }
    // Blanks typed before the comma or after a name would otherwise sit in front of the
    // wildcard and match nothing.
    lastPattern = lastPattern.trimmed() + QLatin1Char('%');
    firstPattern = firstPattern.trimmed() + QLatin1Char('%');
}

void CSubjectLookupDlg::OnInitDialog()
{
    quorin::WaitCursor wait(m_document.UI());
    m_pList->InsertColumn(0, QStringLiteral("Name"), CReportListCtrl::FormatLeft, 140);
    m_pList->InsertColumn(1, QStringLiteral("Unit"), CReportListCtrl::FormatLeft, 72);
    m_pList->InsertColumn(2, QStringLiteral("Birth Date"), CReportListCtrl::FormatLeft, 72);
    m_pList->InsertColumn(3, QString(), CReportListCtrl::FormatLeft, 0);
    Search();
}

void CSubjectLookupDlg::Search()
{
    QString last;
    QString first;
    SearchPatterns(m_strLast, m_strFirst, last, first);
    MyADO& db = m_document.m_db;
    quorin::BindString(db, "@last", last);
    quorin::BindString(db, "@first", first);
    if (db.RunStoredProcedure("uspLookup")) {
        for (int row = 0; !db.IsEOF(); db.MoveNext(), ++row) {
            const QString name = QStringLiteral("%1, %2")
                                     .arg(quorin::StringField(db, "Lastname"), quorin::StringField(db, "Firstname"));
            const int item = m_pList->InsertItem(row, name);
            m_pList->SetItemText(item, 1, QString::number(db.GetIntField("Unit")));
            m_pList->SetItemText(item, 2, quorin::StringField(db, "age"));
            m_pList->SetItemText(item, 3, QString::number(db.GetIntField("SubjectId")));
        }
    }
    db.RemoveParams();
}

void CSubjectLookupDlg::OnOK()
{
    // The row the user sees selected, not a row that only has the keyboard focus.
    const int row = m_pList->GetFirstSelectedItem();
    if (row < 0) {
        m_document.UI().MessageBox(QStringLiteral("Please Make Selection From First Column"),
                                   UserInterface::Icon::Stop);
        return;
    }
    const int id = quorin::AtoI(m_pList->GetItemText(row, 3));
    m_document.LoadSubjectById(id);
    accept();
}
