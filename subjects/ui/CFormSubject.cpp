#include "subjects/ui/CFormSubject.h"

#include "controls/DateMessages.h"
#include "document/CQuorinDoc.h"
#include "rules/AtoI.h"
#include "document/SessionValues.h"
#include "framework/ControlId.h"
#include "framework/DialogUnits.h"
#include "framework/ResourceImages.h"
#include "resources/Artwork.h"
#include "resources/Resource.h"
#include "subjects/ui/SubjectTemplates.h"
#include "subjects/ui/CMedicalManagerLookupDlg.h"
#include "subjects/ui/CSubjectLookupDlg.h"
#include "subjects/ui/SubjectArtwork.h"

#include <QComboBox>
#include <QFocusEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPlainTextEdit>
#include <QPointer>
#include <QPushButton>
#include <QTimer>

using namespace res::subject;
using quorin::UserInterface;

const QString CFormSubject::kPhonePlaceholder = QStringLiteral("xxx-xxx-xxxx");

namespace {

// Typing into any of these changes the subject. The SubjectId field is only a search
// entry and does not.
constexpr int kWatchedEdits[] = {IDC_LAST,       IDC_FIRST,        IDC_PARENT,       IDC_UNIT,
                                 IDC_BIRTH,      IDC_ADDRESS,      IDC_CITY,         IDC_STATE,
                                 IDC_ZIP,        IDC_EMAIL,        IDC_PHONE1,       IDC_PHONE2,
                                 IDC_DATE_ENTRY, IDC_DATE_UPDATE,  IDC_ENTERED_BY,   IDC_DATE_INITIAL,
                                 IDC_DATE_LAST,  IDC_LETTER_SENT,  IDC_LETTER_RETURNED};
constexpr int kWatchedCombos[] = {IDC_GENDER,   IDC_ETHNICITY, IDC_RACE,      IDC_PHONE1_TYPE, IDC_PHONE2_TYPE,
                                  IDC_CONTACT,  IDC_SCHOOL,    IDC_LANGUAGE,  IDC_BILINGUAL,   IDC_HEARING,
                                  IDC_LOSSTYPE, IDC_IMPLANT,   IDC_BILATERAL, IDC_SCREENING,   IDC_STATUS,
                                  IDC_RECRUITMENT};
// Checked when the focus leaves them.
constexpr int kDateEdits[] = {IDC_DATE_ENTRY, IDC_DATE_INITIAL, IDC_DATE_LAST, IDC_DATE_UPDATE, IDC_BIRTH};
// Copied into the document as soon as the focus leaves them.
constexpr int kNameEdits[] = {IDC_UNIT, IDC_FIRST, IDC_LAST};

// Where the logo goes, in the pixels of the form as first laid out (a 6 by 13 pixel
// dialog font): left of centre, just below the Notes box.
constexpr int kLogoX = 75;
constexpr int kLogoY = 460;

bool Contains(const int* begin, const int* end, int id)
{
    return std::find(begin, end, id) != end;
}

bool IsDropDownKey(const QKeyEvent* key)
{
    return key->key() == Qt::Key_F4
           || ((key->key() == Qt::Key_Down || key->key() == Qt::Key_Up) && (key->modifiers() & Qt::AltModifier));
}

} // namespace

CFormSubject::CFormSubject(QWidget* parent, CCreateContext* context)
    : TVisualFormView(res::IDD_FORM_SUBJECT, parent, context)
{
    setObjectName(QStringLiteral("CFormSubject"));
    m_strPhone1 = kPhonePlaceholder;
    m_strPhone2 = kPhonePlaceholder;
    m_pNotice = framework::FindControlAs<QLabel>(this, IDC_NOTICE);
    if (m_pNotice) {
        m_pNotice->setPixmap(quorin::NoticeIcon());
        m_pNotice->resize(m_pNotice->pixmap().size());
        m_pNotice->hide();
    }
    ConnectHandlers();
    WatchChanges();
}

QLineEdit* CFormSubject::Edit(int id) const
{
    return framework::FindControlAs<QLineEdit>(this, id);
}

QComboBox* CFormSubject::Combo(int id) const
{
    return framework::FindControlAs<QComboBox>(this, id);
}

void CFormSubject::ConnectHandlers()
{
    auto button = [this](int id) { return framework::FindControlAs<QPushButton>(this, id); };
    connect(button(IDC_LOAD_BY_ID), &QPushButton::clicked, this, [this] { OnLoadById(); });
    connect(button(IDC_LAST_ADDRESS), &QPushButton::clicked, this, [this] { OnLastAddress(); });
    connect(button(IDC_LOOKUP), &QPushButton::clicked, this, [this] { OnLookup(); });
    connect(button(IDC_MM), &QPushButton::clicked, this, [this] { OnMedicalManager(); });
    connect(Combo(IDC_HEARING), &QComboBox::activated, this, [this](int index) { OnHearingStatusChanged(index); });
    connect(Combo(IDC_IMPLANT), &QComboBox::activated, this, [this](int index) { OnImplantChanged(index); });
    Combo(IDC_RECRUITMENT)->installEventFilter(this);
    for (int id : kDateEdits) {
        QLineEdit* edit = Edit(id);
        edit->installEventFilter(this);
        // A wrong date keeps the focus in its field, and the page in front.
        ValidateOnLeave(edit, [this, edit] { return CheckDateText(edit->text()); });
    }
    for (int id : kNameEdits)
        Edit(id)->installEventFilter(this);
}

bool CFormSubject::CheckDateText(const QString& text)
{
    if (!GetDocument() || GetDocument()->IsValidDate(text))
        return true;
    ShowError(quorin::InvalidDateMessage());
    return false;
}

void CFormSubject::WatchChanges()
{
    for (int id : kWatchedEdits)
        connect(Edit(id), &QLineEdit::textChanged, this, [this] { MarkModified(); });
    for (int id : kWatchedCombos) {
        QComboBox* combo = Combo(id);
        if (combo->isEditable())
            connect(combo, &QComboBox::editTextChanged, this, [this] { MarkModified(); });
        else
            connect(combo, &QComboBox::currentIndexChanged, this, [this] { MarkModified(); });
    }
    auto notes = framework::FindControlAs<QPlainTextEdit>(this, IDC_NOTES);
    connect(notes, &QPlainTextEdit::textChanged, this, [this] { MarkModified(); });
}

void CFormSubject::MarkModified()
{
    if (!m_bRefreshing && GetDocument())
        GetDocument()->m_subject.Modified = 1;
}

void CFormSubject::ShowError(const QString& text)
{
    ShowFieldError(text);
}

bool CFormSubject::OnUpdate(int hint)
{
    CQuorinDoc* doc = GetDocument();
    if (!doc)
        return true;
    if (hint == HintHandOver)
        return SaveToDocument();
    if (hint == HintSpeechTestsStored)
        return true; // nothing of this form changed
    if (doc->RefreshSubjectForm)
        RefreshFromDocument();
    return true;
}

void CFormSubject::ShowNoticeIcon()
{
    if (!m_pNotice || !GetDocument())
        return;
    m_pNotice->setVisible(GetDocument()->ConsentNotice != 0);
    // Clearing the document resets the flag only after the views have refreshed; look
    // again once the operation is over, so a cleared form never keeps the icon.
    QPointer<CFormSubject> self(this);
    QTimer::singleShot(0, this, [self] {
        if (self && self->m_pNotice && self->GetDocument())
            self->m_pNotice->setVisible(self->GetDocument()->ConsentNotice != 0);
    });
}

void CFormSubject::OnLoadById()
{
    QLineEdit* edit = Edit(IDC_SUBJECTID);
    const QString text = edit->text();
    if (text.isEmpty() || !GetDocument())
        return;
    const int id = quorin::AtoI(text);
    if (id < 1) {
        edit->clear();
        return;
    }
    // The loaded subject is worked on from the top of the form.
    if (GetDocument()->LoadSubjectById(id))
        ActivateFirstControl();
}

void CFormSubject::OnLastAddress()
{
    // A user action: the recalled texts count as typed.
    Edit(IDC_ADDRESS)->setText(m_lastAddress.address);
    Edit(IDC_CITY)->setText(m_lastAddress.city);
    Edit(IDC_STATE)->setText(m_lastAddress.state);
    Edit(IDC_ZIP)->setText(m_lastAddress.zip);
    Edit(IDC_PHONE1)->setText(m_lastAddress.phone1);
    Combo(IDC_PHONE1_TYPE)->setEditText(m_lastAddress.phone1Type);
    Edit(IDC_PHONE2)->setText(m_lastAddress.phone2);
    Combo(IDC_PHONE2_TYPE)->setEditText(m_lastAddress.phone2Type);
}

void CFormSubject::OnLookup()
{
    CQuorinDoc* doc = GetDocument();
    if (!doc)
        return;
    CSubjectLookupDlg dialog(*doc, this);
    dialog.m_strLast = Edit(IDC_LAST)->text();
    dialog.m_strFirst = Edit(IDC_FIRST)->text();
    // Only a subject the dialog loaded replaces what the form shows; after Cancel the
    // typed fields stay as they are.
    if (dialog.DoModal() == CTemplateDialog::IDOK && !doc->m_subject.Unit.isEmpty()) {
        RefreshFromDocument();
        ActivateFirstControl();
    }
}

void CFormSubject::OnMedicalManager()
{
    CQuorinDoc* doc = GetDocument();
    if (!doc)
        return;
    ReadControls();
    CMedicalManagerLookupDlg dialog(*this);
    dialog.m_strLast = m_strLast;
    dialog.m_strFirst = m_strFirst;
    dialog.m_strBirth = m_strBirth;
    dialog.DoModal();
    if (!dialog.FilledForm())
        return;
    doc->m_subject.Unit = m_strUnit;
    const bool wasRefreshing = m_bRefreshing;
    m_bRefreshing = false; // the patient's data are new input for this subject
    UpdateData(false);
    m_bRefreshing = wasRefreshing;
    Combo(IDC_ETHNICITY)->setFocus(Qt::OtherFocusReason);
}

void CFormSubject::OnRecruitmentDropDown()
{
    CQuorinDoc* doc = GetDocument();
    if (!doc)
        return;
    QComboBox* combo = Combo(IDC_RECRUITMENT);
    const QString shown = combo->currentText();
    m_bRefreshing = true;
    combo->clear();
    if (doc->m_db.RunStoredProcedure("uspLoadRecruitMethods")) {
        for (; !doc->m_db.IsEOF(); doc->m_db.MoveNext())
            combo->addItem(quorin::StringField(doc->m_db, "method"));
    }
    // Refilling the list must not wipe what the field shows.
    combo->setCurrentIndex(combo->findText(shown, Qt::MatchFixedString));
    combo->setEditText(shown);
    m_bRefreshing = false;
}

void CFormSubject::SetBilateralNone()
{
    QComboBox* bilateral = Combo(IDC_BILATERAL);
    bilateral->setCurrentIndex(-1);
    bilateral->setEditText(QStringLiteral("None"));
}

void CFormSubject::OnHearingStatusChanged(int index)
{
    QComboBox* implant = Combo(IDC_IMPLANT);
    if (index == 0) {
        implant->setCurrentIndex(implant->findText(QStringLiteral("No")));
        SetBilateralNone();
        implant->setEnabled(false);
        Combo(IDC_BILATERAL)->setEnabled(false);
    } else if (index == 1) {
        implant->setCurrentIndex(implant->findText(QStringLiteral("No")));
        implant->setEnabled(true);
    }
}

void CFormSubject::OnImplantChanged(int index)
{
    QComboBox* bilateral = Combo(IDC_BILATERAL);
    if (index == 0) {
        SetBilateralNone();
        bilateral->setEnabled(false);
    } else if (index == 1) {
        bilateral->setEnabled(true);
    }
}

void CFormSubject::OnNameFocusLost(QLineEdit* edit)
{
    CQuorinDoc* doc = GetDocument();
    if (!doc)
        return;
    const int id = framework::ControlId(edit);
    if (id == IDC_UNIT)
        doc->m_subject.Unit = edit->text();
    else if (id == IDC_FIRST)
        doc->m_subject.Firstname = edit->text();
    else if (id == IDC_LAST)
        doc->m_subject.Lastname = edit->text();
}

void CFormSubject::OnDateFocusLost(QLineEdit* edit)
{
    // Initial Consent and Birth Date reach the document at once, valid or not; the check
    // itself runs as the field's leave check.
    CQuorinDoc* doc = GetDocument();
    if (!doc)
        return;
    const int id = framework::ControlId(edit);
    if (id == IDC_DATE_INITIAL)
        doc->m_subject.DateInitial = edit->text();
    else if (id == IDC_BIRTH)
        doc->m_subject.Birth = edit->text();
}

void CFormSubject::OnDateOfEntryFocus(QLineEdit* edit)
{
    CQuorinDoc* doc = GetDocument();
    if (!doc)
        return;
    // A stored subject keeps the date it entered the registry; passing through the field
    // must not rewrite it.
    if (doc->m_subject.SubjectID >= 1 && !edit->text().isEmpty())
        return;
    const QString today = doc->Today();
    if (edit->text() != today)
        edit->setText(today);
}

bool CFormSubject::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == Combo(IDC_RECRUITMENT)) {
        if (event->type() == QEvent::MouseButtonPress
            || (event->type() == QEvent::KeyPress && IsDropDownKey(static_cast<QKeyEvent*>(event))))
            OnRecruitmentDropDown();
        return TVisualFormView::eventFilter(watched, event);
    }
    auto edit = qobject_cast<QLineEdit*>(watched);
    if (!edit || (event->type() != QEvent::FocusOut && event->type() != QEvent::FocusIn))
        return TVisualFormView::eventFilter(watched, event);
    const Qt::FocusReason reason = static_cast<QFocusEvent*>(event)->reason();
    // Focus that leaves for a message box or another window, or comes back from one, is
    // not the user moving between fields.
    if (reason == Qt::ActiveWindowFocusReason || reason == Qt::PopupFocusReason || IsReturningFocus())
        return TVisualFormView::eventFilter(watched, event);
    const int id = framework::ControlId(edit);
    if (event->type() == QEvent::FocusIn) {
        if (id == IDC_DATE_ENTRY)
            OnDateOfEntryFocus(edit);
    } else {
        if (Contains(std::begin(kNameEdits), std::end(kNameEdits), id))
            OnNameFocusLost(edit);
        if (Contains(std::begin(kDateEdits), std::end(kDateEdits), id))
            OnDateFocusLost(edit);
    }
    return TVisualFormView::eventFilter(watched, event);
}

void CFormSubject::paintEvent(QPaintEvent* event)
{
    TVisualFormView::paintEvent(event);
    const QImage logo = res::LogoOnBackground(framework::LoadImageResource(res::IDB_LOGO).toImage(),
                                                 palette().color(backgroundRole()));
    if (logo.isNull())
        return;
    // The position scales with the dialog font like every control of the form.
    const framework::DialogUnits units(font());
    const QPoint at(units.ToPixelsX(kLogoX * 4 / 6), units.ToPixelsY(kLogoY * 8 / 13));
    QPainter painter(this);
    painter.drawImage(at, logo);
}
