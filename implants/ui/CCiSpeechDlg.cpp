#include "implants/ui/CCiSpeechDlg.h"

#include "document/CQuorinDoc.h"
#include "controls/DdxFields.h"
#include "framework/ControlId.h"
#include "framework/DdxStandard.h"
#include "implants/ui/CiFieldExchange.h"
#include "implants/ui/CiDataTemplates.h"

using namespace res::cispeech;

namespace {

constexpr float kEmptyScore = -999.0f;

} // namespace

CCiSpeechDlg::CCiSpeechDlg(CQuorinDoc& doc, const CCiSpeech& row, bool postImplant, QWidget* parent)
    : CTemplateDialog(res::IDD_CI_SPEECH, parent), m_doc(doc), m_row(row), m_postImplant(postImplant)
{
    setObjectName(QStringLiteral("CCiSpeechDlg"));
    for (int id : {IDC_TIME_YEARS, IDC_TIME_MONTHS}) {
        if (QWidget* field = framework::FindControl(this, id))
            field->setEnabled(postImplant);
    }
}

void CCiSpeechDlg::OnInitDialog()
{
    if (QWidget* first = framework::FindControl(this, IDC_CONDITION))
        first->setFocus(Qt::OtherFocusReason);
}

void CCiSpeechDlg::DoDataExchange(CDataExchange* pDX)
{
    DDX_CBString(pDX, IDC_CONDITION, m_row.Condition);
    DDX_CBString(pDX, IDC_TEST_TYPE, m_row.TestType);
    DDX_CBString(pDX, IDC_TEST_NAME, m_row.TestName);
    DDX_FloatField(pDX, IDC_SCORE, m_row.Score);
    // An empty score (a test that could not be done) is no score out of range.
    if (m_row.Score != kEmptyScore)
        DDV_MinMaxDouble(pDX, m_row.Score, 0.0, 100.0);
    // A pre-implant row shows its time but never takes it back: a value out of range
    // there could not be corrected in the disabled fields.
    if (m_postImplant || !pDX->m_bSaveAndValidate)
        quorin::DDX_YearsMonths(pDX, IDC_TIME_YEARS, IDC_TIME_MONTHS, m_row.TimeIS);
}

void CCiSpeechDlg::OnOK()
{
    if (!UpdateData(true))
        return;
    const auto refuse = [this](const char* text, int id) {
        m_doc.UI().MessageBox(QString::fromLatin1(text), quorin::UserInterface::Icon::Stop);
        if (QWidget* field = framework::FindControl(this, id))
            field->setFocus(Qt::OtherFocusReason);
    };
    if (m_row.TestName.trimmed().isEmpty())
        return refuse("Please Enter a Test Name!", IDC_TEST_NAME);
    if (m_row.TestType.trimmed().isEmpty())
        return refuse("Please Enter a Test Type!", IDC_TEST_TYPE);
    accept();
}
