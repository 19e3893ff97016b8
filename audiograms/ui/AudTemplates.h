#pragma once
// Templates of the audiogram's two form tabs and the ids of their controls: the Data tab
// (132) and the Comments tab (140).

#include "framework/DialogTemplate.h"

namespace res {

inline constexpr int IDD_FORM_AUD_DATA = 132;
inline constexpr int IDD_FORM_AUD_OTHER = 140;

// Data tab.
namespace auddata {
enum : int {
    // Test Information
    IDC_TEST_DATE = 1060,
    IDC_AGE = 1053,
    IDC_TESTED_BY = 1063,
    IDC_RELIABILITY = 1000,
    IDC_METHOD = 1003,
    // Type of Loss
    IDC_IMPRESS_L = 1004,
    IDC_IMPRESS_R = 1005,
    IDC_IMPRESS_SF = 1012,
    // Immitance
    IDC_TYMP_L = 1007,
    IDC_TYMP_R = 1008,
    IDC_PEAKY_L = 1064,
    IDC_PEAKY_R = 1006,
    IDC_PEAKPRESS_L = 1013,
    IDC_PEAKPRESS_R = 1011,
    IDC_ETFVOL_L = 1051,
    IDC_ETFVOL_R = 1052,
    IDC_REFLEX_L = 1014,
    IDC_REFLEX_R = 1009,
    IDC_ETFREL_L = 1015,
    IDC_ETFREL_R = 1010,
    // Screening
    IDC_OAE_L = 1076,
    IDC_OAE_R = 1077,
    IDC_ABR_L = 1078,
    IDC_ABR_R = 1079,
    // Special
    IDC_TINNITUS_L = 1065,
    IDC_TINNITUS_R = 1066,
    IDC_FULLNESS_L = 1071,
    IDC_FULLNESS_R = 1032,
    IDC_HAIDS_L = 1035,
    IDC_HAIDS_R = 1033,
    IDC_COCHIMP_L = 1045,
    IDC_COCHIMP_R = 1048,
    IDC_DIZZINESS = 1072,
    IDC_OM = 1036,
    IDC_NOISE_EXP = 1037,
    IDC_HX_HEARING_LOSS = 1039,
    IDC_SPED = 1038,
    IDC_SPCH_LANG = 1042,
    // Speech - Right Ear
    IDC_SRT_R = 1017,
    IDC_SAT_R = 1018,
    IDC_LEV1_R = 1046,
    IDC_PC1_R = 1056,
    IDC_LEV2_R = 1021,
    IDC_PC2_R = 1057,
    IDC_LEV3_R = 1022,
    IDC_PC3_R = 1024,
    IDC_LEV4_R = 1025,
    IDC_PC4_R = 1028,
    IDC_LEV5_R = 1067,
    IDC_PC5_R = 1068,
    IDC_MAT_R = 1061,
    // Speech - Left Ear
    IDC_SRT_L = 1019,
    IDC_SAT_L = 1020,
    IDC_LEV1_L = 1047,
    IDC_PC1_L = 1058,
    IDC_LEV2_L = 1023,
    IDC_PC2_L = 1059,
    IDC_LEV3_L = 1030,
    IDC_PC3_L = 1034,
    IDC_LEV4_L = 1040,
    IDC_PC4_L = 1041,
    IDC_LEV5_L = 1069,
    IDC_PC5_L = 1070,
    IDC_MAT_L = 1062,
    // Speech - Sound Field
    IDC_SRT_SF = 1043,
    IDC_SAT_SF = 1044,
    // The subject the test belongs to.
    IDC_PATIENT_NAME = 1073,
    IDC_PATIENT_BIRTH = 1074
};
} // namespace auddata

// Comments tab.
namespace audother {
enum : int { IDC_COMMENTS = 1001, IDC_RECOMMEND = 1002 };
} // namespace audother

// The items of the Data tab's lists, in order; the stored value is the index. Every list
// ends with an empty item.
QStringList ReliabilityItems();
QStringList MethodItems();
QStringList EarLossItems();       // Type of Loss, Left Ear and Right Ear
QStringList SoundFieldLossItems();
QStringList TympItems();
QStringList ReflexItems();
QStringList ScreeningItems();     // OAE and ABR
// The speech materials offered (shown sorted; the stored value is the text).
QStringList SpeechMaterialItems();

framework::DialogTemplate AudDataFormTemplate();
framework::DialogTemplate AudOtherFormTemplate();

// Registers the two templates above with the framework.
void RegisterAudTemplates();

} // namespace res
