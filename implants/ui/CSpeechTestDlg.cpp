#include "implants/ui/CSpeechTestDlg.h"

#include "controls/DateMessages.h"
#include "document/CQuorinDoc.h"
#include "framework/ControlId.h"
#include "framework/DdxStandard.h"
#include "implants/store/SpeechTestEditing.h"
#include "implants/ui/SllTemplates.h"

#include <QComboBox>
#include <QFocusEvent>
#include <QLineEdit>
#include <QPointer>
#include <QTimer>

using namespace res::speechtest;

namespace {


} // namespace

CSpeechTestDlg::CSpeechTestDlg(CQuorinDoc& doc, const CSpeechTest& test, QWidget* parent)
    : CTemplateDialog(res::IDD_SPEECH_TEST, parent), m_doc(doc), m_test(test)
{
    setObjectName(QStringLiteral("CSpeechTestDlg"));
    m_nYears = m_test.AgeEquivalent / 12;
    m_nMonths = m_test.AgeEquivalent % 12;
    // Filled before the fields are shown: adding items later would replace the text.
    if (auto testers = framework::FindControlAs<QComboBox>(this, IDC_TESTED_BY))
        testers->addItems(quorin::SpeechTesters(doc.m_speechTestList));
    m_pTestDate = framework::FindControlAs<QLineEdit>(this, IDC_TEST_DATE);
    if (m_pTestDate)
        m_pTestDate->installEventFilter(this);
}

void CSpeechTestDlg::OnInitDialog()
{
    // Typing starts in the first field, Name of Test.
    if (QWidget* first = framework::FindControl(this, IDC_TEST_NAME))
        first->setFocus(Qt::OtherFocusReason);
}

bool CSpeechTestDlg::IsRefusedDate(const QString& text) const
{
    return !text.trimmed().isEmpty() && !m_doc.IsValidDate(text.trimmed());
}

void CSpeechTestDlg::DoDataExchange(CDataExchange* pDX)
{
    DDX_CBString(pDX, IDC_TEST_NAME, m_test.TestName);
    DDX_Text(pDX, IDC_TEST_DATE, m_test.TestDate);
    // The column is a date: one unreadable date would fail the whole save.
    if (pDX->m_bSaveAndValidate) {
        m_test.TestDate = m_test.TestDate.trimmed();
        if (IsRefusedDate(m_test.TestDate)) {
            m_doc.UI().MessageBox(quorin::InvalidDateMessage(), quorin::UserInterface::Icon::Stop);
            pDX->Fail();
        }
    }
    DDX_Text(pDX, IDC_AGE_AT_TEST, m_test.AgeAtTest);
    DDX_CBString(pDX, IDC_TESTED_BY, m_test.TestedBy);
    DDX_CBString(pDX, IDC_LAB, m_test.Lab);
    DDX_CBString(pDX, IDC_SCREENING, m_test.Screening);
    DDX_Text(pDX, IDC_RAW_SCORE, m_test.RawScore);
    DDX_Text(pDX, IDC_STANDARD_SCORE, m_test.StandardScore);
    DDX_Text(pDX, IDC_AE_YEARS, m_nYears);
    DDV_MinMaxInt(pDX, m_nYears, 0, 120);
    DDX_Text(pDX, IDC_AE_MONTHS, m_nMonths);
    DDV_MinMaxInt(pDX, m_nMonths, 0, 12);
    DDX_Text(pDX, IDC_PERCENTILE, m_test.Percentile);
    DDX_Text(pDX, IDC_SD, m_test.SD);
    DDX_Text(pDX, IDC_OTHER, m_test.Other);
    DDX_Text(pDX, IDC_COMMENTS, m_test.Comments);
    if (pDX->m_bSaveAndValidate)
        m_test.AgeEquivalent = m_nYears * 12 + m_nMonths;
}

void CSpeechTestDlg::OnTestDateFocusLost()
{
    const QString text = m_pTestDate->text();
    if (!IsRefusedDate(text)) {
        const QString age = quorin::AgeAtTestText(m_doc, m_doc.m_subject.Birth, text);
        if (!age.isEmpty())
            framework::SetWindowText(framework::FindControl(this, IDC_AGE_AT_TEST), age);
        return;
    }
    // The box waits until the focus change has finished. When OK or Cancel took the
    // focus, that button has answered by then: OK has refused the date itself (the focus
    // is back in the field), Cancel has closed the dialog.
    QPointer<QLineEdit> field(m_pTestDate);
    QTimer::singleShot(0, this, [this, field] {
        if (!field || !isVisible() || field->hasFocus() || !IsRefusedDate(field->text()))
            return;
        m_doc.UI().MessageBox(quorin::InvalidDateMessage(), quorin::UserInterface::Icon::Stop);
        field->setFocus(Qt::OtherFocusReason);
    });
}

bool CSpeechTestDlg::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == m_pTestDate && event->type() == QEvent::FocusOut) {
        // Focus lost to a box or another window is no leaving of the field.
        const Qt::FocusReason reason = static_cast<QFocusEvent*>(event)->reason();
        if (reason != Qt::ActiveWindowFocusReason && reason != Qt::PopupFocusReason)
            OnTestDateFocusLost();
    }
    return CTemplateDialog::eventFilter(watched, event);
}
