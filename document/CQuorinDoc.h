#pragma once
// The one document: everything about the open subject, both long-lived database
// sessions and the login values. Its operations are defined in the folder of the
// subsystem they belong to, one file per concern.

#include "document/DocumentView.h"
#include "document/UserInterface.h"
#include "audiograms/record/CAudRecord.h"
#include "dalport/MyADO.h"
#include "implants/record/CCiData.h"
#include "implants/record/CCiSpeech.h"
#include "implants/record/CSpeechTest.h"
#include "subjects/record/CSubject.h"

#include <QString>
#include <vector>

class CQuorinDoc {
public:
    explicit CQuorinDoc(quorin::UserInterface& ui);
    ~CQuorinDoc();
    CQuorinDoc(const CQuorinDoc&) = delete;
    CQuorinDoc& operator=(const CQuorinDoc&) = delete;

    // --- views (app/CQuorinDoc.cpp) ---
    void AddView(CDocumentView* view);
    void RemoveView(CDocumentView* view);
    // Calls OnUpdate(hint) on every view in attachment order. Returns false when a
    // view refused the hand-over of hint 1; the views after it are not asked.
    bool UpdateAllViews(int hint);
    quorin::UserInterface& UI() { return m_ui; }

    // --- document life (app/CQuorinDoc.cpp) ---
    // The new-document step: connects m_db on the first call, otherwise offers to save
    // and clears. Returns true.
    bool OnNewDocument();
    // Unsaved work: the subject changed, the working test marked for saving, or such a
    // test kept aside in m_audLatest while an older test is shown.
    bool IsModified() const;
    // Before the open subject is left (File New, another subject, a bulk run, closing the
    // window): with unsaved work asks "Save Current Subject?" (Yes/No/Cancel); Yes
    // saves. True when the caller may go on: nothing unsaved, No, or a save that stored
    // everything. False for Cancel and for a save that stopped (it has said why).
    bool SaveModified();
    // Connects m_dbAud on first use; reports "Unable to connect to Database Aud!".
    bool ConnectAud();
    void SetTitle(const QString& title);
    const QString& GetTitle() const { return m_strTitle; }

    // --- subject storage (subjects/) ---
    int LoadSubject(const QString& unit, const QString& last, const QString& first,
                    const QString& birth);
    int LoadSubjectById(int id);
    // Returns 1 when the subject and everything it has were stored, else 0.
    int SaveSubject();
    int WriteSubject();
    // The open subject's status into the Audiogram Manager; false only when Aud could
    // not be reached (the box has been shown).
    bool UpdateAudiogramManagerStatus();
    int IsPossibleDuplicate();
    void ClearDocument();
    int IsValidDate(const QString& text) const;
    QString Today() const;
    static int CompareDates(const QString& a, const QString& b);

    // --- audiogram storage (audiograms/) ---
    int LoadCurrentAudiogram(int subjectId);
    bool LoadAudPoints(CAudRecord& record, bool history); // false when the read failed
    int LoadHistoryAudiogram(int testId, CAudRecord& record);
    int WriteAudiogram(CAudRecord& record);
    int WriteAudPoints(CAudRecord& record);
    void ClearAudHistory();
    void ShowCurrentAudiogram();
    // History and paging. Every move first has the forms hand over their edits; a
    // refusal stops it. Leaving the editable current test keeps it in m_audLatest.
    void BuildAudHistory();
    void OnPagePrev();
    void OnPageNext();
    // Home: back to the current test while paging; nothing changes otherwise.
    void OnPageHome();
    // The one copy of the enable rules of Page Prev and Page Next (Home is always on).
    bool IsPagePrevEnabled() const;
    bool IsPageNextEnabled() const;

    // --- Audiogram Manager reads (audiograms/), each on one patientindex ---
    int ReadAmTestInfo(int patientIndex, CAudRecord& record);
    int ReadAmImmittance(int patientIndex, CAudRecord& record);
    int ReadAmFindings(int patientIndex, CAudRecord& record);
    int ReadAmSpeech(int patientIndex, CAudRecord& record);
    int ReadAmPoints(int patientIndex, CAudRecord& record);
    int ReadAmCompositePoints(int patientIndex, CAudRecord& record);
    int OfferAmSearch();
    int HasNewerAmAudiogram(const QString& unit, const QString& date);
    int ImportNewestAmAudiogram();
    void OnToolsUpdate();

    // --- cochlear-implant and speech-language data (implants/) ---
    void LoadCiData(int subjectId);
    int WriteCiData();
    void LoadSpeechTests(int subjectId);
    int WriteSpeechTests();
    // 1 when the CID patient's data replaced the open subject's implant data and CI
    // speech rows; 0 changes nothing. A bulk run hands over its one CID session.
    int ImportCiFromCid(int patientId, MyADO* cid = nullptr);
    // Returns 1 when a CID patient was imported.
    int CheckCidDatabase();
    void OnCidImport();
    void OnUpdateQuorinFromCid();

    // --- records ---
    CCiData m_ciData;
    std::vector<CCiSpeech> m_ciSpeechList;
    CSpeechTest m_speechTest;
    std::vector<CSpeechTest> m_speechTestList;
    CAudRecord m_audCurrent;
    CAudRecord m_audLatest;
    std::vector<CAudRecord> m_audHistory; // newest first, each with Latest 0
    CSubject m_subject;

    // --- login values, used for every session the document opens ---
    QString m_strServer;
    QString m_strPassword;
    QString m_strUserName;

    // --- audiogram history paging ---
    int m_nHistoryCount = 0;
    int m_nHistoryPos = 1;      // 1 = oldest history test, m_nHistoryCount + 1 = current
    int m_bHistoryLoaded = 0;
    int m_nPageDir = 0;         // 0 not paging, 1 last move Prev, 2 last move Next
    int m_nHistoryShown = -1;   // history cursor: index into m_audHistory, -1 = none
    int m_nHistoryNext = -1;

    // --- audiogram entry and the audiogram pages' filled flags ---
    int m_bNewAudStarted = 0;
    int m_bChartLoaded = 0;
    int m_bAudDataFilled = 0;
    int m_bAudOtherFilled = 0;

    // --- subject pages ---
    int RefreshSubjectForm = 0;
    // The last LoadSubjectById could not read the subject (the server refused or failed
    // the call), as against finding no such subject.
    int SubjectLoadFailed = 0;
    int ConsentNotice = 0;
    int Interactive = 1;
    // The CID patient chosen in the last CI Database Lookup (-1 for none).
    int m_nCidPatientId = -1;
    // Bulk runs hold the Audiogram Manager status back (WriteSubject only marks it
    // pending) and send it once the subject's registry transaction has committed.
    int DeferAmStatus = 0;
    int AmStatusPending = 0;
    int ParticipationLoaded = 0;
    int CiLoaded = 0;
    int SllLoaded = 0;

    // --- sessions ---
    MyADO m_dbAud;
    MyADO m_db;

private:
    // Subject storage steps (subjects/).
    void ReadSubjectRow(bool unitFromRow, const QString& unitArgument);
    // Runs the bound load procedure and reads the subject with everything it has.
    int LoadSubjectRow(const char* procedure, bool unitFromRow, const QString& unitArgument);
    void LoadStudyAndParticipation();
    bool SaveRequiredFieldsPresent();
    bool SaveAudiogramStep(bool skipAudiogram);
    bool WriteCurrentAudiogram();
    void ReadAudiogramRow(CAudRecord& record, bool withCochImp);
    // History build without the hand-over (the caller has done it).
    void ReadAudHistory();
    // Shows position (m_nHistoryCount + 1 = the current test) after a move in
    // direction (1 Prev, 2 Next) and refreshes the views.
    void ShowHistoryPosition(int position, int direction);
    bool ComputeConsentNotice() const;

    quorin::UserInterface& m_ui;
    std::vector<CDocumentView*> m_views;
    QString m_strTitle;
};
