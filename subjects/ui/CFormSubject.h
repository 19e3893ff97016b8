#pragma once
// The Subject tab: every field of the open subject except the implant history and the
// speech-therapy texts, with the lookups, reloading by id and the last-address recall.
//
// The form keeps one member per control. Refreshing from the document fills the members
// and shows them; the hand-over (hint 1) reads the controls, checks the dates and copies
// everything into the document's subject.

#include "framework/TVisualFormView.h"

#include <QString>

class QComboBox;
class QLabel;
class QLineEdit;

class CFormSubject : public TVisualFormView {
    Q_OBJECT
public:
    // What a phone edit holds before anything was typed into it.
    static const QString kPhonePlaceholder;

    CFormSubject(QWidget* parent, CCreateContext* context);

    bool OnUpdate(int hint) override;

    // Document -> members -> controls, with the implant enable rules.
    void RefreshFromDocument();
    // Controls -> members -> document, with the date checks; false when a check failed
    // (its message has been shown and the focus is on the field).
    bool SaveToDocument();

    // Members -> controls, and controls -> members, without any check.
    void ShowMembers();
    void ReadControls();

    // The buttons and list events.
    void OnLoadById();
    void OnLastAddress();
    void OnLookup();
    void OnMedicalManager();
    void OnRecruitmentDropDown();
    void OnHearingStatusChanged(int index);
    void OnImplantChanged(int index);

    // One member per control.
    int m_nSubjectId = 0;
    QString m_strLast, m_strFirst, m_strParent, m_strUnit;
    QString m_strGender, m_strEthnicity, m_strRace, m_strBirth;
    QString m_strAddress, m_strCity, m_strState, m_strZip, m_strEmail;
    QString m_strPhone1, m_strPhone1Type, m_strPhone2, m_strPhone2Type;
    QString m_strContact, m_strNotes;
    QString m_strSchool, m_strLanguage, m_strBilingual, m_strHearing, m_strLossType;
    QString m_strImplant, m_strBilateral, m_strScreening;
    QString m_strDateEntry, m_strDateUpdate, m_strEnteredBy;
    int m_nStatus = -1;
    QString m_strRecruitment, m_strDateInitial, m_strDateLast;
    QString m_strStudy, m_strParticipation, m_strLetterSent, m_strLetterReturned;

    // The address block of the last hand-over: Address, City, State, Zip Code, Phone,
    // Phone type, Alt Phone, Alt Phone type.
    struct AddressBlock {
        QString address, city, state, zip, phone1, phone1Type, phone2, phone2Type;
    };
    AddressBlock m_lastAddress;

protected:
    void DoDataExchange(CDataExchange* pDX) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private:
    QLineEdit* Edit(int id) const;
    QComboBox* Combo(int id) const;
    void ConnectHandlers();
    void WatchChanges();
    void MarkModified();
    void ShowNoticeIcon();
    void ApplyImplantRules();
    void SetBilateralNone();
    // A date field lost the focus: Initial Consent and Birth Date go to the document.
    void OnDateFocusLost(QLineEdit* edit);
    void OnDateOfEntryFocus(QLineEdit* edit);
    void OnNameFocusLost(QLineEdit* edit);
    bool CheckedDate(int id, const QString& text, const QString& invalidMessage);
    // The date rule for a field's text; false after its message was shown.
    bool CheckDateText(const QString& text);
    void ShowError(const QString& text);

    QLabel* m_pNotice = nullptr;
    bool m_bRefreshing = false;   // controls set by the program, not typed
};
