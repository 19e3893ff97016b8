#pragma once
// Templates of the speech, language and literacy pages and the ids of their controls:
// the S/L/L tab (197) and the Speech Test dialog (198).

#include "framework/DialogTemplate.h"

namespace res {

inline constexpr int IDD_FORM_SLL = 197;
inline constexpr int IDD_SPEECH_TEST = 198;

// S/L/L tab.
namespace sll {
enum : int {
    IDC_PAST_SPEECH = 1168,
    IDC_CURRENT_SPEECH = 1169,
    IDC_LIST = 1043,
    IDC_ADD = 1162,
    IDC_EDIT = 1163,
    IDC_DELETE = 1164
};
} // namespace sll

// Speech Test dialog.
namespace speechtest {
enum : int {
    IDC_TEST_NAME = 1145,
    IDC_TEST_DATE = 1054,
    IDC_AGE_AT_TEST = 1053,
    IDC_TESTED_BY = 1167,
    IDC_LAB = 1169,
    IDC_SCREENING = 1170,
    IDC_RAW_SCORE = 1176,
    IDC_STANDARD_SCORE = 1172,
    IDC_AE_YEARS = 1166,
    IDC_AE_MONTHS = 1168,
    IDC_PERCENTILE = 1173,
    IDC_SD = 1174,
    IDC_OTHER = 1175,
    IDC_COMMENTS = 1001
};
} // namespace speechtest

framework::DialogTemplate SllFormTemplate();
framework::DialogTemplate SpeechTestDialogTemplate();

// Registers the two templates above with the framework.
void RegisterSllTemplates();

} // namespace res
