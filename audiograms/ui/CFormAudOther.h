#pragma once
// The audiogram Comments tab: the shown test's comments and recommendations, two
// multi-line fields exchanged directly with m_audCurrent, each at most 499 characters.
//
// Like the Data tab it fills itself when first shown after m_bAudOtherFilled was cleared
// (at once when that happens while it is on screen), hands its texts over at hint 1
// only once it was filled, and shows the test again at hint 2. Typing and pasting stop at
// the limit; a longer stored text (a clinic's comment) is shown whole, may only shrink,
// and is handed over as it stands. An older test's texts are read-only.

#include "framework/TVisualFormView.h"

#include <memory>

class CFormAudOther : public TVisualFormView {
    Q_OBJECT
public:
    CFormAudOther(QWidget* parent, CCreateContext* context);
    ~CFormAudOther() override;

    bool OnUpdate(int hint) override;

    // The one change handler of both fields.
    void OnChange();

protected:
    void DoDataExchange(CDataExchange* pDX) override;
    void showEvent(QShowEvent* event) override;

private:
    class InputLimit;
    void Fill();

    std::unique_ptr<InputLimit> m_comments;
    std::unique_ptr<InputLimit> m_recommend;
    bool m_bFilling = false;
};
