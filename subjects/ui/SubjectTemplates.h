#pragma once
// Templates of the subject registry's forms and dialogs, and the ids of their controls:
// the Subject tab (130), the Other tab (139), the Subject Lookup (159), the Medical
// Manager Lookup (161, with its unused twin 160) and the Recruitment dialog (165).

#include "framework/DialogTemplate.h"

namespace res {

inline constexpr int IDD_FORM_SUBJECT = 130;
inline constexpr int IDD_FORM_OTHER = 139;
inline constexpr int IDD_SUBJECT_LOOKUP = 159;
inline constexpr int IDD_MM_LOOKUP_TWIN = 160;
inline constexpr int IDD_MM_LOOKUP = 161;
inline constexpr int IDD_RECRUITMENT = 165;
inline constexpr int IDI_NOTICE = 164;

// Subject tab.
namespace subject {
enum : int {
    IDC_SUBJECTID = 1056,
    IDC_LOAD_BY_ID = 1021,
    IDC_LOOKUP = 1018,
    IDC_MM = 1019,
    IDC_LAST = 1046,
    IDC_FIRST = 1047,
    IDC_PARENT = 1057,
    IDC_UNIT = 1048,
    IDC_GENDER = 1020,
    IDC_ETHNICITY = 1024,
    IDC_RACE = 1034,
    IDC_BIRTH = 1049,
    IDC_ADDRESS = 1050,
    IDC_LAST_ADDRESS = 1022,
    IDC_CITY = 1007,
    IDC_STATE = 1010,
    IDC_ZIP = 1008,
    IDC_EMAIL = 1009,
    IDC_PHONE1 = 1051,
    IDC_PHONE1_TYPE = 1052,
    IDC_PHONE2 = 1053,
    IDC_PHONE2_TYPE = 1011,
    IDC_CONTACT = 1033,
    IDC_NOTES = 1016,
    IDC_NOTICE = 1077,
    IDC_SCHOOL = 1040,
    IDC_LANGUAGE = 1023,
    IDC_BILINGUAL = 1037,
    IDC_HEARING = 1028,
    IDC_LOSSTYPE = 1038,
    IDC_IMPLANT = 1039,
    IDC_BILATERAL = 1171,
    IDC_SCREENING = 1032,
    IDC_DATE_ENTRY = 1054,
    IDC_DATE_UPDATE = 1055,
    IDC_ENTERED_BY = 1014,
    IDC_STATUS = 1027,
    IDC_RECRUITMENT = 1031,
    IDC_DATE_INITIAL = 1030,
    IDC_DATE_LAST = 1026,
    IDC_STUDY = 1025,
    IDC_PARTICIPATION = 1029,
    IDC_LETTER_SENT = 1035,
    IDC_LETTER_RETURNED = 1036
};
} // namespace subject

// Other tab.
namespace other {
enum : int {
    IDC_LONGTERM = 1026,
    IDC_SHORTTERM = 1027,
    IDC_WORKDAY = 1028,
    IDC_EVENINGS = 1031,
    IDC_WEEKENDS = 1030,
    IDC_OTHER = 1029,
    IDC_PROJECT = 1008,
    IDC_GRANT = 1092,
    IDC_DATE1 = 1003,
    IDC_DATE2 = 1004,
    IDC_SESSIONS = 1015,
    IDC_CONTACTED = 1009,
    IDC_EXCONTACT = 1005,
    IDC_PARTICIPATED = 1010,
    IDC_EXPARTIC = 1006,
    IDC_COMPLETED = 1011,
    IDC_COMMENTS = 1001,
    IDC_APPTS = 1012,
    IDC_SHOW = 1007,
    IDC_CALLAGAIN = 1013,
    IDC_FDATE = 1016,
    IDC_LAB = 1014,
    IDC_UPDATE = 1093,
    IDC_LIST = 1043
};
} // namespace other

// Both lookups and the Recruitment dialog.
namespace lookup {
enum : int { IDC_LIST = 1043 };
} // namespace lookup

namespace recruitment {
enum : int { IDC_METHOD = 1003, IDC_LIST = 1043, IDC_ADD = 1078, IDC_DELETE = 1079 };
} // namespace recruitment

framework::DialogTemplate SubjectFormTemplate();
framework::DialogTemplate OtherFormTemplate();
framework::DialogTemplate SubjectLookupTemplate();
// 161, or its twin 160 (same controls).
framework::DialogTemplate MedicalManagerLookupTemplate(int id = IDD_MM_LOOKUP);
framework::DialogTemplate RecruitmentDialogTemplate();

// Registers the six templates above with the framework.
void RegisterSubjectTemplates();

} // namespace res
