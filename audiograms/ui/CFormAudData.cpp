#include "audiograms/ui/CFormAudData.h"

#include "controls/DateMessages.h"
#include "document/CQuorinDoc.h"
#include "audiograms/store/AudTestEdit.h"
#include "rules/DateSpan.h"
#include "controls/DdxFields.h"
#include "controls/DdxStoredCode.h"
#include "framework/ControlId.h"
#include "framework/DdxStandard.h"
#include "framework/TemplateRegistry.h"
#include "audiograms/ui/AudTemplates.h"
#include "resources/FieldLengths.h"

#include <QCheckBox>
#include <QComboBox>
#include <QCompleter>
#include <QLineEdit>

using namespace res::auddata;

namespace {

// The speech materials: what the field shows is stored exactly as it stands (" " of an
// empty test too); a list item is selected only when it is the very same text.
void DDX_MaterialsText(CDataExchange* pDX, int id, QString& value)
{
    auto combo = qobject_cast<QComboBox*>(pDX->PrepareEditCtrl(id));
    if (!combo)
        pDX->Fail();
    if (pDX->m_bSaveAndValidate) {
        value = combo->currentText();
        return;
    }
    combo->setCurrentIndex(combo->findText(value, Qt::MatchExactly | Qt::MatchCaseSensitive));
    combo->setEditText(value);
}

// "Last, First"; nothing for a subject without a name yet.
QString SubjectName(const CSubject& s)
{
    if (s.Lastname.isEmpty() && s.Firstname.isEmpty())
        return QString();
    return QStringLiteral("%1, %2").arg(s.Lastname, s.Firstname);
}

} // namespace

CFormAudData::CFormAudData(QWidget* parent, CCreateContext* context)
    : TVisualFormView(res::IDD_FORM_AUD_DATA, parent, context)
{
    setObjectName(QStringLiteral("CFormAudData"));
    if (CQuorinDoc* doc = GetDocument())
        doc->m_bAudDataFilled = 0;
    for (int id : {IDC_MAT_R, IDC_MAT_L}) {
        auto combo = framework::FindControlAs<QComboBox>(this, id);
        // Typed text stays as typed: neither completing nor leaving the field turns
        // "w-22" into the list's "W-22".
        if (QCompleter* completer = combo->completer())
            completer->setCaseSensitivity(Qt::CaseSensitive);
    }
    ConnectChanges();
    QLineEdit* testDate = Edit(IDC_TEST_DATE);
    ValidateOnLeave(testDate, [this] { return OnTestDateLeft(); });
}

QLineEdit* CFormAudData::Edit(int id) const
{
    return framework::FindControlAs<QLineEdit>(this, id);
}

void CFormAudData::ConnectChanges()
{
    const framework::DialogTemplate* form = framework::FindDialogTemplate(res::IDD_FORM_AUD_DATA);
    if (!form)
        return;
    // Only the user's own actions: typing, choosing and clicking. Filling the controls
    // emits none of these signals, so showing a test marks nothing.
    for (const framework::ControlTemplate& control : form->controls) {
        if (control.id == -1 || control.id == IDC_AGE)
            continue;
        QWidget* widget = framework::FindControl(this, control.id);
        if (auto edit = qobject_cast<QLineEdit*>(widget)) {
            connect(edit, &QLineEdit::textEdited, this, [this] { OnChange(); });
        } else if (auto combo = qobject_cast<QComboBox*>(widget)) {
            connect(combo, &QComboBox::activated, this, [this] { OnChange(); });
            if (combo->lineEdit())
                connect(combo->lineEdit(), &QLineEdit::textEdited, this, [this] { OnChange(); });
        } else if (auto box = qobject_cast<QCheckBox*>(widget)) {
            connect(box, &QCheckBox::clicked, this, [this] { OnChange(); });
        }
    }
}

void CFormAudData::OnChange()
{
    if (CQuorinDoc* doc = GetDocument())
        quorin::MarkShownTestEdited(*doc);
}

int CFormAudData::AgeAtTest(const QString& birth, const QString& testDate)
{
    return static_cast<int>(quorin::AgeInYears(birth, testDate));
}

bool CFormAudData::OnTestDateLeft()
{
    CQuorinDoc* doc = GetDocument();
    if (!doc)
        return true;
    const QString text = Edit(IDC_TEST_DATE)->text();
    if (!doc->IsValidDate(text)) {
        ShowFieldError(quorin::InvalidDateMessage());
        return false;
    }
    m_nAge = AgeAtTest(doc->m_subject.Birth, text);
    Edit(IDC_AGE)->setText(QString::asprintf("%d", m_nAge));
    return true;
}

void CFormAudData::DoDataExchange(CDataExchange* pDX)
{
    CQuorinDoc* doc = GetDocument();
    if (!doc)
        return;
    CAudRecord& r = doc->m_audCurrent;
    const bool loading = !pDX->m_bSaveAndValidate;
    if (loading) {
        const CSubject& s = doc->m_subject;
        m_nAge = AgeAtTest(s.Birth, r.Info.TestDate);
        m_strName = SubjectName(s);
        m_strBirth = s.Birth;
        DDX_Text(pDX, IDC_PATIENT_NAME, m_strName);
        DDX_Text(pDX, IDC_PATIENT_BIRTH, m_strBirth);
    }

    // Test Information
    DDX_Text(pDX, IDC_TEST_DATE, r.Info.TestDate);
    // A date the registry cannot store is refused here, with the message the field gives
    // when it is left, before anything is written.
    if (!loading && !doc->IsValidDate(r.Info.TestDate)) {
        ShowFieldError(quorin::InvalidDateMessage());
        pDX->Fail();
    }
    // The age is worked out from the dates; it is shown, never read back.
    if (loading)
        DDX_IntField(pDX, IDC_AGE, m_nAge);
    DDX_Text(pDX, IDC_TESTED_BY, r.Info.TestedBy);
    DDV_MaxChars(pDX, r.Info.TestedBy, res::FieldLengthOf(res::IDD_FORM_AUD_DATA, IDC_TESTED_BY));
    DDX_StoredCodeIndex(pDX, IDC_RELIABILITY, r.Info.Reliability);
    DDX_StoredCodeIndex(pDX, IDC_METHOD, r.Info.Method);

    // Type of Loss
    DDX_StoredCodeIndex(pDX, IDC_IMPRESS_L, r.Findings.ImpressL);
    DDX_StoredCodeIndex(pDX, IDC_IMPRESS_R, r.Findings.ImpressR);
    DDX_StoredCodeIndex(pDX, IDC_IMPRESS_SF, r.Findings.ImpressSF);

    // Immitance
    CAudImmittance& im = r.Immittance;
    DDX_StoredCodeIndex(pDX, IDC_TYMP_L, im.TympL);
    DDX_StoredCodeIndex(pDX, IDC_TYMP_R, im.TympR);
    DDX_FloatField(pDX, IDC_PEAKY_L, im.PeakYL);
    DDX_FloatField(pDX, IDC_PEAKY_R, im.PeakYR);
    DDX_FloatField(pDX, IDC_PEAKPRESS_L, im.PeakPressL);
    DDX_FloatField(pDX, IDC_PEAKPRESS_R, im.PeakPressR);
    DDX_FloatField(pDX, IDC_ETFVOL_L, im.ETFVolL);
    DDX_FloatField(pDX, IDC_ETFVOL_R, im.ETFVolR);
    DDX_StoredCodeIndex(pDX, IDC_REFLEX_L, im.ReflexL);
    DDX_StoredCodeIndex(pDX, IDC_REFLEX_R, im.ReflexR);
    DDX_FloatField(pDX, IDC_ETFREL_L, im.ETFRelL);
    DDX_FloatField(pDX, IDC_ETFREL_R, im.ETFRelR);

    // Screening
    CAudFindings& f = r.Findings;
    DDX_StoredCodeIndex(pDX, IDC_OAE_L, f.OAEL);
    DDX_StoredCodeIndex(pDX, IDC_OAE_R, f.OAER);
    DDX_StoredCodeIndex(pDX, IDC_ABR_L, f.ABRL);
    DDX_StoredCodeIndex(pDX, IDC_ABR_R, f.ABRR);

    // Special
    DDX_Check(pDX, IDC_TINNITUS_L, f.TinnitusL);
    DDX_Check(pDX, IDC_TINNITUS_R, f.TinnitusR);
    DDX_Check(pDX, IDC_FULLNESS_L, f.FullnessL);
    DDX_Check(pDX, IDC_FULLNESS_R, f.FullnessR);
    DDX_Check(pDX, IDC_HAIDS_L, f.HearingAidsL);
    DDX_Check(pDX, IDC_HAIDS_R, f.HearingAidsR);
    DDX_Check(pDX, IDC_COCHIMP_L, f.CochImpL);
    DDX_Check(pDX, IDC_COCHIMP_R, f.CochImpR);
    DDX_Check(pDX, IDC_DIZZINESS, f.Dizziness);
    DDX_Check(pDX, IDC_OM, f.OM);
    DDX_Check(pDX, IDC_NOISE_EXP, f.NoiseExp);
    DDX_Check(pDX, IDC_HX_HEARING_LOSS, f.HxHearingLoss);
    DDX_Check(pDX, IDC_SPED, f.Sped);
    DDX_Check(pDX, IDC_SPCH_LANG, f.SpchLang);

    // Speech: levels in dB HL may be negative, percentages not.
    CAudSpeech& sp = r.Speech;
    DDX_LevelField(pDX, IDC_SRT_R, sp.SRTR);
    DDX_LevelField(pDX, IDC_SAT_R, sp.SATR);
    DDX_LevelField(pDX, IDC_LEV1_R, sp.Lev1R);
    DDX_IntField(pDX, IDC_PC1_R, sp.PC1R);
    DDX_LevelField(pDX, IDC_LEV2_R, sp.Lev2R);
    DDX_IntField(pDX, IDC_PC2_R, sp.PC2R);
    DDX_LevelField(pDX, IDC_LEV3_R, sp.Lev3R);
    DDX_IntField(pDX, IDC_PC3_R, sp.PC3R);
    DDX_LevelField(pDX, IDC_LEV4_R, sp.Lev4R);
    DDX_IntField(pDX, IDC_PC4_R, sp.PC4R);
    DDX_LevelField(pDX, IDC_LEV5_R, sp.Lev5R);
    DDX_IntField(pDX, IDC_PC5_R, sp.PC5R);
    DDX_MaterialsText(pDX, IDC_MAT_R, sp.MatR);
    DDV_MaxChars(pDX, sp.MatR, res::FieldLengthOf(res::IDD_FORM_AUD_DATA, IDC_MAT_R));
    DDX_LevelField(pDX, IDC_SRT_L, sp.SRTL);
    DDX_LevelField(pDX, IDC_SAT_L, sp.SATL);
    DDX_LevelField(pDX, IDC_LEV1_L, sp.Lev1L);
    DDX_IntField(pDX, IDC_PC1_L, sp.PC1L);
    DDX_LevelField(pDX, IDC_LEV2_L, sp.Lev2L);
    DDX_IntField(pDX, IDC_PC2_L, sp.PC2L);
    DDX_LevelField(pDX, IDC_LEV3_L, sp.Lev3L);
    DDX_IntField(pDX, IDC_PC3_L, sp.PC3L);
    DDX_LevelField(pDX, IDC_LEV4_L, sp.Lev4L);
    DDX_IntField(pDX, IDC_PC4_L, sp.PC4L);
    DDX_LevelField(pDX, IDC_LEV5_L, sp.Lev5L);
    DDX_IntField(pDX, IDC_PC5_L, sp.PC5L);
    DDX_MaterialsText(pDX, IDC_MAT_L, sp.MatL);
    DDV_MaxChars(pDX, sp.MatL, res::FieldLengthOf(res::IDD_FORM_AUD_DATA, IDC_MAT_L));
    DDX_LevelField(pDX, IDC_SRT_SF, sp.SRTSF);
    DDX_LevelField(pDX, IDC_SAT_SF, sp.SATSF);
}

void CFormAudData::Fill()
{
    CQuorinDoc* doc = GetDocument();
    if (!doc)
        return;
    UpdateData(false);
    doc->m_bAudDataFilled = 1;
}

void CFormAudData::ShowSubjectLine()
{
    CQuorinDoc* doc = GetDocument();
    if (!doc)
        return;
    const CSubject& s = doc->m_subject;
    m_strName = SubjectName(s);
    m_strBirth = s.Birth;
    framework::SetWindowText(framework::FindControl(this, IDC_PATIENT_NAME), m_strName);
    framework::SetWindowText(framework::FindControl(this, IDC_PATIENT_BIRTH), m_strBirth);
    const QString testDate = Edit(IDC_TEST_DATE)->text();
    if (doc->IsValidDate(testDate)) {
        m_nAge = AgeAtTest(s.Birth, testDate);
        Edit(IDC_AGE)->setText(QString::asprintf("%d", m_nAge));
    }
}

bool CFormAudData::OnUpdate(int hint)
{
    CQuorinDoc* doc = GetDocument();
    if (!doc)
        return true;
    if (!doc->m_bAudDataFilled) {
        // Cleared while on screen (File New, a subject opened from a report, a paged
        // test): the tab shows the document's test now, not at its next showing, so that
        // nothing is typed over another test and then dropped.
        if ((hint == HintRefresh || hint == HintShowAudiogram) && isVisible())
            Fill();
        return true;
    }
    switch (hint) {
    case HintHandOver: return UpdateData(true);
    case HintShowAudiogram: UpdateData(false); return true;
    default: return true;
    }
}

void CFormAudData::showEvent(QShowEvent* event)
{
    TVisualFormView::showEvent(event);
    CQuorinDoc* doc = GetDocument();
    if (!doc)
        return;
    if (!doc->m_bAudDataFilled)
        Fill();
    else
        ShowSubjectLine();
}
