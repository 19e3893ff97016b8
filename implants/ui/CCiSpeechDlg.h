#pragma once
// The CI Speech dialog: one speech-perception result. The time after initial
// stimulation belongs to post-implant results only; for a pre-implant row its fields are
// shown but cannot be typed in, so nothing typed there is silently dropped.

#include "framework/TemplateDialog.h"
#include "implants/record/CCiSpeech.h"

class CQuorinDoc;

class CCiSpeechDlg : public CTemplateDialog {
    Q_OBJECT
public:
    CCiSpeechDlg(CQuorinDoc& doc, const CCiSpeech& row, bool postImplant, QWidget* parent = nullptr);

    // The row as typed, after OK.
    const CCiSpeech& Row() const { return m_row; }

protected:
    void OnInitDialog() override;
    void DoDataExchange(CDataExchange* pDX) override;
    void OnOK() override;

private:
    CQuorinDoc& m_doc;
    CCiSpeech m_row;
    bool m_postImplant;
};
