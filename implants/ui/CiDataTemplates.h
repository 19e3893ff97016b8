#pragma once
// Templates of the cochlear-implant pages and the ids of their controls: the CI Data tab
// (189), the CI Speech dialog (192) and the CI Device dialog (195).

#include "framework/DialogTemplate.h"

#include <QStringList>

namespace res {

inline constexpr int IDD_FORM_CI_DATA = 189;
inline constexpr int IDD_CI_SPEECH = 192;
inline constexpr int IDD_CI_DEVICE = 195;

// CI Data tab.
namespace cidata {
enum : int {
    // Left ear.
    IDC_DURATION_YEARS_L = 1113,
    IDC_DURATION_MONTHS_L = 1111,
    IDC_DEGREE_L = 1112,
    IDC_ONSET_L = 1118,
    IDC_ETIOLOGY_L = 1161,
    IDC_HA_YEARS_L = 1114,
    IDC_HA_MONTHS_L = 1115,
    IDC_UNAIDED_YEARS_L = 1116,
    IDC_UNAIDED_MONTHS_L = 1117,
    // Right ear.
    IDC_DURATION_YEARS_R = 1122,
    IDC_DURATION_MONTHS_R = 1120,
    IDC_DEGREE_R = 1121,
    IDC_ONSET_R = 1127,
    IDC_ETIOLOGY_R = 1163,
    IDC_HA_YEARS_R = 1123,
    IDC_HA_MONTHS_R = 1124,
    IDC_UNAIDED_YEARS_R = 1125,
    IDC_UNAIDED_MONTHS_R = 1126,
    // Processors.
    IDC_PROCESSOR1 = 1160,
    IDC_PROCESSOR2 = 1162,
    // Devices.
    IDC_DEVICE_LIST = 1154,
    IDC_DEVICE_ADD = 1144,
    IDC_DEVICE_EDIT = 1145,
    IDC_DEVICE_DELETE = 1146,
    // Pre-implant speech rows.
    IDC_PRE_LIST = 1044,
    IDC_PRE_ADD = 1119,
    IDC_PRE_EDIT = 1138,
    IDC_PRE_DELETE = 1139,
    // Post-implant speech rows.
    IDC_POST_LIST = 1128,
    IDC_POST_ADD = 1140,
    IDC_POST_EDIT = 1141,
    IDC_POST_DELETE = 1142,
    IDC_CHECK_CID = 1143
};

// The choices of the tab's drop-downs, in template order.
QStringList DegreeItems();
QStringList OnsetItems();
QStringList EtiologyItems();
QStringList ProcessorItems();
} // namespace cidata

// CI Speech dialog.
namespace cispeech {
enum : int {
    IDC_CONDITION = 1083,
    IDC_TEST_TYPE = 1082,
    IDC_TEST_NAME = 1145,
    IDC_SCORE = 1146,
    IDC_TIME_YEARS = 1147,
    IDC_TIME_MONTHS = 1148
};
} // namespace cispeech

// CI Device dialog.
namespace cidevice {
enum : int {
    IDC_EAR = 1155,
    IDC_DEVICE = 1156,
    IDC_POSITIONER = 1157,
    IDC_SURGERY_DATE = 1159,
    IDC_AGE_AT_IMPLANT = 1161,
    IDC_SURGEON = 1165,
    IDC_HOSPITAL = 1162,
    IDC_STIM_DATE = 1163,
    IDC_STATUS = 1027,
    IDC_EXPLANT_DATE = 1164
};
} // namespace cidevice

framework::DialogTemplate CiDataFormTemplate();
framework::DialogTemplate CiSpeechDialogTemplate();
framework::DialogTemplate CiDeviceDialogTemplate();

// Registers the three templates above with the framework.
void RegisterCiDataTemplates();

} // namespace res
