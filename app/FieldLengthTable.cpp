// The table of field lengths: it names the fields of every subsystem's templates, so it
// is assembled here, above them all.
#include "resources/FieldLengths.h"

#include "database/ColumnLength.h"
#include "admin/ui/AdminTemplates.h"
#include "audiograms/ui/AudTemplates.h"
#include "implants/ui/CiDataTemplates.h"
#include "implants/ui/SllTemplates.h"
#include "subjects/ui/SubjectTemplates.h"

#include <algorithm>

namespace res {

namespace {

using quorin::schema::ColumnLength;

// The audiogram's comments take 499 typed characters (longer clinic texts are shown
// whole by their tab).
constexpr int kAudCommentChars = 499;

// A field saved into a column of the given length; consteval so that a column the
// schema lacks, or one without a length, does not compile.
consteval FieldLength Column(int templateId, int controlId, std::string_view table, std::string_view column)
{
    return {templateId, controlId, table, column, ColumnLength(table, column)};
}

// A field whose text the program limits below its column's length (or whose column has
// none, varchar(max)).
consteval FieldLength Limited(int templateId, int controlId, std::string_view table, std::string_view column,
                              int ownLimit)
{
    const int length = quorin::schema::FindColumnLength(table, column);
    return {templateId, controlId, table, column, length > 0 ? std::min(length, ownLimit) : ownLimit};
}

} // namespace

const std::vector<FieldLength>& FieldLengths()
{
    using namespace subject;
    static const std::vector<FieldLength> table = {
        // Subject tab.
        Column(IDD_FORM_SUBJECT, IDC_LAST, "subjects", "Lastname"),
        Column(IDD_FORM_SUBJECT, IDC_FIRST, "subjects", "Firstname"),
        Column(IDD_FORM_SUBJECT, IDC_PARENT, "subjects", "Parent"),
        Column(IDD_FORM_SUBJECT, IDC_GENDER, "subjects", "Sex"),
        Column(IDD_FORM_SUBJECT, IDC_ETHNICITY, "subjects", "Ethnicity"),
        Column(IDD_FORM_SUBJECT, IDC_RACE, "subjects", "Race"),
        Column(IDD_FORM_SUBJECT, IDC_ADDRESS, "subjects", "Address"),
        Column(IDD_FORM_SUBJECT, IDC_CITY, "subjects", "City"),
        Column(IDD_FORM_SUBJECT, IDC_STATE, "subjects", "State"),
        Column(IDD_FORM_SUBJECT, IDC_EMAIL, "subjects", "Email"),
        Column(IDD_FORM_SUBJECT, IDC_PHONE1, "subjects", "Phone1"),
        Column(IDD_FORM_SUBJECT, IDC_PHONE1_TYPE, "subjects", "Phone1Type"),
        Column(IDD_FORM_SUBJECT, IDC_PHONE2, "subjects", "Phone2"),
        Column(IDD_FORM_SUBJECT, IDC_PHONE2_TYPE, "subjects", "Phone2Type"),
        Column(IDD_FORM_SUBJECT, IDC_CONTACT, "subjects", "Contact"),
        Column(IDD_FORM_SUBJECT, IDC_SCHOOL, "subjects", "School"),
        Column(IDD_FORM_SUBJECT, IDC_LANGUAGE, "subjects", "PrimaryLang"),
        Column(IDD_FORM_SUBJECT, IDC_BILINGUAL, "subjects", "Bilingual"),
        Column(IDD_FORM_SUBJECT, IDC_HEARING, "subjects", "PatImpression"),
        Column(IDD_FORM_SUBJECT, IDC_LOSSTYPE, "subjects", "LossType"),
        Column(IDD_FORM_SUBJECT, IDC_IMPLANT, "subjects", "CochlearImplant"),
        Column(IDD_FORM_SUBJECT, IDC_BILATERAL, "subjects", "Cochlear"),
        Column(IDD_FORM_SUBJECT, IDC_SCREENING, "subjects", "ScreeningImpr"),
        Column(IDD_FORM_SUBJECT, IDC_ENTERED_BY, "subjects", "EnteredBy"),
        Column(IDD_FORM_SUBJECT, IDC_RECRUITMENT, "subjects", "Recruitment"),
        // Other tab (participation).
        Column(IDD_FORM_OTHER, other::IDC_EXCONTACT, "participationhistory", "ExContact"),
        Column(IDD_FORM_OTHER, other::IDC_EXPARTIC, "participationhistory", "ExPartic"),
        Column(IDD_FORM_OTHER, other::IDC_LAB, "participationhistory", "Lab"),
        // Recruitment methods.
        Column(IDD_RECRUITMENT, recruitment::IDC_METHOD, "recruitment", "method"),
        // Audiogram Data tab.
        Column(IDD_FORM_AUD_DATA, auddata::IDC_TESTED_BY, "aud", "TestedBy"),
        Column(IDD_FORM_AUD_DATA, auddata::IDC_MAT_R, "aud", "MatR"),
        Column(IDD_FORM_AUD_DATA, auddata::IDC_MAT_L, "aud", "MatL"),
        // Audiogram comments.
        Limited(IDD_FORM_AUD_OTHER, audother::IDC_COMMENTS, "aud", "Comments", kAudCommentChars),
        Limited(IDD_FORM_AUD_OTHER, audother::IDC_RECOMMEND, "aud", "Recommend", kAudCommentChars),
        // CI Data tab.
        Column(IDD_FORM_CI_DATA, cidata::IDC_DEGREE_L, "cidata", "DegreePriorL"),
        Column(IDD_FORM_CI_DATA, cidata::IDC_DEGREE_R, "cidata", "DegreePriorR"),
        Column(IDD_FORM_CI_DATA, cidata::IDC_ONSET_L, "cidata", "NatureL"),
        Column(IDD_FORM_CI_DATA, cidata::IDC_ONSET_R, "cidata", "NatureR"),
        Column(IDD_FORM_CI_DATA, cidata::IDC_ETIOLOGY_L, "cidata", "EtiologyL"),
        Column(IDD_FORM_CI_DATA, cidata::IDC_ETIOLOGY_R, "cidata", "EtiologyR"),
        Column(IDD_FORM_CI_DATA, cidata::IDC_PROCESSOR1, "cidata", "Processor1"),
        Column(IDD_FORM_CI_DATA, cidata::IDC_PROCESSOR2, "cidata", "Processor2"),
        // CI Speech.
        Column(IDD_CI_SPEECH, cispeech::IDC_CONDITION, "cispeech", "Condition"),
        Column(IDD_CI_SPEECH, cispeech::IDC_TEST_TYPE, "cispeech", "TestType"),
        Column(IDD_CI_SPEECH, cispeech::IDC_TEST_NAME, "cispeech", "TestName"),
        // CI Device.
        Column(IDD_CI_DEVICE, cidevice::IDC_EAR, "CiDevice", "Ear"),
        Column(IDD_CI_DEVICE, cidevice::IDC_DEVICE, "CiDevice", "Device"),
        Column(IDD_CI_DEVICE, cidevice::IDC_POSITIONER, "CiDevice", "Positioner"),
        Column(IDD_CI_DEVICE, cidevice::IDC_SURGEON, "CiDevice", "Surgeon"),
        Column(IDD_CI_DEVICE, cidevice::IDC_HOSPITAL, "CiDevice", "Hospital"),
        Column(IDD_CI_DEVICE, cidevice::IDC_STATUS, "CiDevice", "Status"),
        // S/L/L tab and Speech Test.
        Column(IDD_FORM_SLL, sll::IDC_PAST_SPEECH, "subjects", "PastSpeech"),
        Column(IDD_FORM_SLL, sll::IDC_CURRENT_SPEECH, "subjects", "CurrentSpeech"),
        Column(IDD_SPEECH_TEST, speechtest::IDC_TEST_NAME, "speech", "TestName"),
        Column(IDD_SPEECH_TEST, speechtest::IDC_AGE_AT_TEST, "speech", "AgeAtTest"),
        Column(IDD_SPEECH_TEST, speechtest::IDC_TESTED_BY, "speech", "TestedBy"),
        Column(IDD_SPEECH_TEST, speechtest::IDC_LAB, "speech", "Lab"),
        Column(IDD_SPEECH_TEST, speechtest::IDC_SCREENING, "speech", "Screening"),
        Column(IDD_SPEECH_TEST, speechtest::IDC_RAW_SCORE, "speech", "RawScore"),
        Column(IDD_SPEECH_TEST, speechtest::IDC_STANDARD_SCORE, "speech", "StandardScore"),
        Column(IDD_SPEECH_TEST, speechtest::IDC_PERCENTILE, "speech", "Percentile"),
        Column(IDD_SPEECH_TEST, speechtest::IDC_SD, "speech", "SD"),
        Column(IDD_SPEECH_TEST, speechtest::IDC_OTHER, "speech", "Other"),
        // A staff member's row.
        Column(IDD_USER, user::IDC_USERNAME, "pers", "UserName"),
        Column(IDD_USER, user::IDC_LAST, "pers", "LastName"),
        Column(IDD_USER, user::IDC_FIRST, "pers", "FirstName"),
    };
    return table;
}

} // namespace res
