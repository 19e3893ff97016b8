#include "reports/query/ChangeHistoryWords.h"

#include <span>
#include <utility>

namespace quorin {

namespace {

struct ColumnWords {
    const char* column;
    const char* words; // the label of the column's field
};

struct TableWords {
    const char* table;
    const char* words;
    std::span<const ColumnWords> columns;
};

// Subject, Other and S/L/L tabs.
constexpr ColumnWords kSubject[] = {
    {"Lastname", "Last Name"}, {"Firstname", "First Name"}, {"Parent", "Parent"}, {"Unit", "KV Number"},
    {"Sex", "Gender"}, {"Ethnicity", "Ethnicity"}, {"Race", "Race"}, {"Birthdate", "Birth Date"},
    {"Address", "Address"}, {"City", "City"}, {"State", "State"}, {"Zip", "Zip Code"}, {"Email", "Email"},
    {"Phone1", "Phone"}, {"Phone1Type", "Phone Type"}, {"Phone2", "Alt Phone"}, {"Phone2Type", "Alt Phone Type"},
    {"Contact", "Pref. Cont."}, {"Notes", "Notes"}, {"School", "School District"},
    {"PrimaryLang", "Primary Language"}, {"Bilingual", "Bilingual"}, {"PatImpression", "Hearing Status"},
    {"LossType", "Loss Type"}, {"CochlearImplant", "Cochlear Implant"}, {"Cochlear", "Bilateral Cochlear Implant"},
    {"ScreeningImpr", "Screening Impression"}, {"DateofEntry", "Date of Entry"}, {"LastUpdate", "Last Update"},
    {"EnteredBy", "Entered by"}, {"Status", "Status"}, {"Recruitment", "Recruitment Method"},
    {"InitialDateofConsent", "Date of Initial Consent"}, {"LastDateofConsent", "Date of Last DB Consent"},
    {"Sent", "Letter Sent"}, {"Returned", "Letter Returned"}, {"Longterm", "Longterm"}, {"Shortterm", "Shortterm"},
    {"Workday", "Workday"}, {"Evenings", "Evenings"}, {"Weekends", "Weekends"}, {"Other", "Other?"},
    {"PastSpeech", "Past Speech/Language Therapy"}, {"CurrentSpeech", "Current Speech/Language Therapy"},
};
// Audiogram Data and Comments tabs; the fields of one ear without their L, R or SF.
constexpr ColumnWords kAudiogram[] = {
    {"TestDate", "Test Date"}, {"TestedBy", "Tested by"}, {"Reliability", "Reliability"}, {"Method", "Method"},
    {"Impress", "Impression"}, {"OAE", "OAE"}, {"ABR", "ABR"}, {"Tymp", "Tymp"}, {"PeakY", "Peak Y (mmhos)"},
    {"PeakPress", "Peak Press. (daPa)"}, {"ETFVol", "Vol (CC)"}, {"Reflex", "Reflexes"},
    {"ETFRel", "ETF Release (daPa)"}, {"Tinnitus", "Tinnitus"}, {"Fullness", "Fullness"}, {"HearingAids", "H. Aids"},
    {"CochImp", "Coch.Imp"}, {"Dizziness", "Dizziness"}, {"OM", "Hx of OM"}, {"NoiseExp", "Hx of Noise Exp."},
    {"HxHearingLoss", "Family Hx of hearing loss"}, {"Sped", "Enrolled in SPED"},
    {"SpchLang", "Enrolled in speech/lang tx"}, {"Mat", "Speech Materials"}, {"SRT", "SRT"}, {"SAT", "SAT"},
    {"Lev1", "Level 1"}, {"Lev2", "Level 2"}, {"Lev3", "Level 3"}, {"Lev4", "Level 4"}, {"Lev5", "Level 5"},
    {"PC1", "% 1"}, {"PC2", "% 2"}, {"PC3", "% 3"}, {"PC4", "% 4"}, {"PC5", "% 5"},
    {"Comments", "Comments"}, {"Recommend", "Recommendations"},
};
// The symbols on the chart.
constexpr ColumnWords kChart[] = {
    {"TestId", "Test"}, {"symbol", "Symbol"}, {"xy", "Position"}, {"mask", "Masking"}, {"recent", "Recent"},
    {"type", "Type"},
};
constexpr ColumnWords kSpeechTest[] = {
    {"TestName", "Name of Test"}, {"TestDate", "Date of Test"}, {"AgeAtTest", "Age at time of test"},
    {"TestedBy", "Tested by"}, {"Lab", "Research Lab"}, {"Screening", "Screening"}, {"RawScore", "Raw Score"},
    {"StandardScore", "Standard Score"}, {"AgeEquivalent", "Age-Equivalent"}, {"Percentile", "Percentile"},
    {"SD", "Standard Deviation"}, {"Other", "Other"}, {"Comments", "Comments"},
};
// CI Data tab, per ear.
constexpr ColumnWords kCiData[] = {
    {"DurationPrior", "Duration of Deafness Prior to Implant"}, {"DegreePrior", "Degree of HL prior to implant"},
    {"Nature", "Nature of onset of deafness"}, {"Etiology", "Etiology of Deafness"}, {"HaTime", "Hearing Aid Use"},
    {"DurationUnaided", "Duration unaided prior to implant"}, {"Processor1", "Processor 1"},
    {"Processor2", "Processor 2"},
};
constexpr ColumnWords kCiDevice[] = {
    {"Ear", "Ear"}, {"Device", "Device"}, {"Positioner", "Positioner"}, {"SurgDate", "Surgery Date"},
    {"AgeAtImplant", "Age at Implant"}, {"Surgeon", "Surgeon"}, {"Hospital", "Hospital"},
    {"StimDate", "Initial Stim Date"}, {"Status", "Status"}, {"ExplantDate", "Date of Explant"},
};
constexpr ColumnWords kCiSpeech[] = {
    {"DataType", "Pre or Post Implant"}, {"Condition", "Conditions"}, {"TestType", "Test Type"},
    {"TestName", "Test Name"}, {"Score", "Score"}, {"TimeIS", "Time Post-IS"},
};
// A row of the Other tab's Study Participation.
constexpr ColumnWords kParticipation[] = {
    {"Dataset", "Dataset"}, {"Irb", "IRB"}, {"Contacted", "Contacted"}, {"ExContact", "Contact remark"},
    {"Participate", "Participated"}, {"ExPartic", "Participation remark"}, {"Completed", "Completed"},
    {"Comments", "Comments"}, {"Date1", "Start Date"}, {"Date2", "Finish Date"}, {"Sessions", "Sessions"},
    {"Appts", "Appts"}, {"Show", "Show"}, {"CallAgain", "Call Again"}, {"FeedbackDate", "Feedback Date"},
    {"Lab", "Lab"},
};
constexpr ColumnWords kRelease[] = {{"Title", "Dataset"}, {"Irb", "IRB"}, {"ReleaseDate", "Release Date"}};
constexpr ColumnWords kRequest[] = {{"Title", "Dataset"}, {"Irb", "IRB"}, {"RequestDate", "Request Date"}};
constexpr ColumnWords kCall[] = {{"Dataset", "Dataset"}, {"Irb", "IRB"}, {"CallDate", "Call Date"}, {"Notes", "Notes"}};

constexpr TableWords kTables[] = {
    {"subjects", "Subject", kSubject},
    {"aud", "Audiogram", kAudiogram},
    {"audpoints", "Audiogram Chart", kChart},
    {"speech", "Speech Test", kSpeechTest},
    {"cidata", "CI Data", kCiData},
    {"CiDevice", "CI Device", kCiDevice},
    {"cispeech", "CI Speech", kCiSpeech},
    {"participationhistory", "Study Participation", kParticipation},
    {"release", "Release", kRelease},
    {"requesthistory", "Dataset Request", kRequest},
    {"calllog", "Call Log", kCall},
    {"changelog", "Change History", {}},
};

// The suffixes of one ear's fields, "SF" before the single letters.
constexpr std::pair<const char*, const char*> kEars[] = {{"SF", " sound field"}, {"L", " left"}, {"R", " right"}};

// Names as the registry compares them: without regard to case.
bool Same(const char* name, const QString& text)
{
    return text.compare(QLatin1String(name), Qt::CaseInsensitive) == 0;
}

const TableWords* FindTable(const QString& table)
{
    for (const TableWords& words : kTables)
        if (Same(words.table, table))
            return &words;
    return nullptr;
}

const char* FindColumn(const TableWords& table, const QString& column)
{
    for (const ColumnWords& words : table.columns)
        if (Same(words.column, column))
            return words.words;
    return nullptr;
}

// The field's label, or the label of its field with the ear after it; "" when neither is known.
QString FieldWords(const TableWords& table, const QString& column)
{
    if (const char* words = FindColumn(table, column))
        return QString::fromUtf8(words);
    // The ear's letters are capitals: "Other" is no right-ear field of "Othe".
    for (const auto& [suffix, ear] : kEars) {
        const QLatin1String end(suffix);
        if (column.size() <= end.size() || !column.endsWith(end))
            continue;
        if (const char* words = FindColumn(table, column.chopped(end.size())))
            return QString::fromUtf8(words) + QLatin1String(ear);
    }
    return {};
}

} // namespace

QString ChangeWhat(const QString& table, const QString& column, const QString& kind)
{
    const TableWords* words = FindTable(table);
    const QString what = words ? QString::fromUtf8(words->words) : table;
    if (Same("insert", kind))
        return what + QStringLiteral(": added");
    const bool removed = Same("delete", kind);
    if (column.isEmpty())
        return what + (removed ? QStringLiteral(": removed") : QStringLiteral(": changed"));
    const QString field = words ? FieldWords(*words, column) : QString();
    const QString changed = field.isEmpty() ? table + QLatin1Char('.') + column : what + QStringLiteral(": ") + field;
    return removed ? changed + QStringLiteral(" removed") : changed;
}

} // namespace quorin
