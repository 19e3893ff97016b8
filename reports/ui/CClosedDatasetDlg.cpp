#include "reports/ui/CClosedDatasetDlg.h"

#include "document/CQuorinDoc.h"
#include "framework/ControlId.h"
#include "framework/ReportListCtrl.h"
#include "reports/ui/ParticipationReportTemplates.h"

#include <QAbstractButton>
#include <QAbstractItemView>
#include <QComboBox>
#include <QEvent>
#include <QLineEdit>
#include <QTimer>

CClosedDatasetDlg::CClosedDatasetDlg(CQuorinDoc& document, QWidget* parent)
    : CReportDlg(res::IDD_CLOSED_DATASET, document, QString(), parent)
{
    SetFillOnOpen(false);
    m_pIrb = framework::FindControlAs<QComboBox>(this, res::participation::IDC_IRB);
    m_pDataset = framework::FindControlAs<QComboBox>(this, res::participation::IDC_DATASET);
    // The list closes on a choice, Enter, Escape or a click elsewhere; like the platform's
    // close-up, each of them acts on the text the combo then shows.
    for (QComboBox* combo : {m_pIrb, m_pDataset}) {
        if (!combo)
            continue;
        combo->view()->window()->installEventFilter(this);
    }
    if (m_pIrb) {
        m_pIrb->installEventFilter(this);
        if (m_pIrb->lineEdit())
            m_pIrb->lineEdit()->installEventFilter(this);
    }
    // Grid lines between the cells, as a contact sheet is read across.
    List()->setStyleSheet(QStringLiteral(
        "QTreeView::item { border-right: 1px solid #c8c8c8; border-bottom: 1px solid #c8c8c8; }"));
    if (auto save = framework::FindControlAs<QAbstractButton>(this, IDC_SAVE))
        connect(save, &QAbstractButton::clicked, this, [this] { OnSave(); });
    if (auto reopen = framework::FindControlAs<QAbstractButton>(this, res::participation::IDC_REOPEN))
        connect(reopen, &QAbstractButton::clicked, this, [this] { OnReOpen(); });
}

std::vector<CReportDlg::Column> CClosedDatasetDlg::Columns() const
{
    std::vector<Column> columns;
    for (const quorin::ClosedDatasetColumn& column : quorin::ClosedDatasetColumns())
        columns.push_back({QString::fromLatin1(column.heading), column.width});
    return columns;
}

bool CClosedDatasetDlg::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::FocusIn && m_pIrb && (watched == m_pIrb || watched == m_pIrb->lineEdit()))
        OnIrbFocus();
    if (event->type() == QEvent::Hide) {
        // After the combo has taken the choice the closing list was made for.
        if (m_pIrb && watched == m_pIrb->view()->window())
            QTimer::singleShot(0, this, [this] { OnIrbCloseUp(); });
        else if (m_pDataset && watched == m_pDataset->view()->window())
            QTimer::singleShot(0, this, [this] { OnDatasetCloseUp(); });
    }
    return CReportDlg::eventFilter(watched, event);
}

void CClosedDatasetDlg::OnIrbFocus()
{
    if (m_bIrbFilled || !m_pIrb)
        return;
    m_bIrbFilled = true;
    const QString typed = m_pIrb->currentText();
    if (const auto irbs = quorin::ClosedDatasetIrbs(Document())) {
        QStringList sorted = *irbs;
        sorted.sort(Qt::CaseInsensitive);
        m_pIrb->addItems(sorted);
    }
    m_pIrb->setCurrentIndex(-1);
    m_pIrb->setEditText(typed);
}

void CClosedDatasetDlg::OnIrbCloseUp()
{
    if (!m_pIrb || !m_pDataset)
        return;
    m_pDataset->clear();
    const QString irb = m_pIrb->currentText();
    if (irb.isEmpty())
        return;
    if (const auto datasets = quorin::ClosedDatasetNames(Document(), irb)) {
        QStringList sorted = *datasets;
        sorted.sort(Qt::CaseInsensitive);
        m_pDataset->addItems(sorted);
        m_pDataset->setCurrentIndex(-1);
    }
}

void CClosedDatasetDlg::OnDatasetCloseUp()
{
    if (!m_pIrb || !m_pDataset)
        return;
    // Closing an empty list, or with nothing chosen, keeps what the list shows.
    if (m_pDataset->currentText().isEmpty())
        return;
    Refill();
}

void CClosedDatasetDlg::BuildList(quorin::CReportQuery& query, CReportList& list)
{
    quorin::BuildClosedDatasetList(query, list, m_pIrb ? m_pIrb->currentText() : QString(),
                                   m_pDataset ? m_pDataset->currentText() : QString(), m_load);
}

void CClosedDatasetDlg::OnSave()
{
    quorin::SaveClosedDataset(Document().UI(), m_load, *List());
}

void CClosedDatasetDlg::OnReOpen()
{
    quorin::ReOpenClosedDataset(Document(), m_load);
}
