#pragma once
// The CI Data tab: the subject's hearing history per ear before implantation, its
// processors, its implanted devices and its speech-perception results before and after
// implantation. Devices and speech rows are added and edited in the CI Device and CI
// Speech dialogs; like the fields, they reach the database with the subject's save.

#include "implants/ui/LazyFilledForm.h"

#include <cstddef>
#include <functional>
#include <optional>

class CCiDevice;
class CCiSpeech;
class CReportListCtrl;
class QPushButton;

class CFormCIDataView : public LazyFilledForm {
    Q_OBJECT
public:
    CFormCIDataView(QWidget* parent, CCreateContext* context);

    // Rows of the document's devices (newest first) and speech rows, each row carrying
    // its record's position in the document's list as item data.
    void FillLists();

    void OnDeviceAdd();
    void OnDeviceEdit();
    void OnDeviceDelete();
    void OnSpeechAdd(bool postImplant);
    void OnSpeechEdit(bool postImplant);
    void OnSpeechDelete(bool postImplant);

    // Enables "Check CID DB": a click runs the handler (the CI Database lookup and
    // import), then the tab shows the fields and lists of the document again. An empty
    // handler disables the button.
    void SetCheckCidHandler(std::function<void()> handler);

    CReportListCtrl* DeviceList() const { return m_pDevices; }
    CReportListCtrl* PreList() const { return m_pPre; }
    CReportListCtrl* PostList() const { return m_pPost; }

protected:
    void DoDataExchange(CDataExchange* pDX) override;
    int& ShownFlag(CQuorinDoc& document) const override;
    void FillTabLists() override { FillLists(); }
    bool OnShownUpdate(int hint) override;

private:
    void MarkModified();
    void OnCheckCid();
    CReportListCtrl* SpeechList(bool postImplant) const { return postImplant ? m_pPost : m_pPre; }
    static std::optional<std::size_t> SelectedPosition(const CReportListCtrl* list);
    static void SelectPosition(CReportListCtrl* list, std::size_t position);
    bool RunSpeechDialog(CCiSpeech& row, bool postImplant);
    bool RunDeviceDialog(CCiDevice& device);

    CReportListCtrl* m_pDevices;
    CReportListCtrl* m_pPre;
    CReportListCtrl* m_pPost;
    QPushButton* m_pCheckCid;
    std::function<void()> m_checkCid;
};
