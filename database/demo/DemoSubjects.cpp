// The subjects: demographics, contact, consent and letters, availability.
#include "database/demo/DemoContext.h"
#include "database/demo/DemoLists.h"
#include "database/demo/SqliteInserter.h"

#include <algorithm>
#include <cctype>
#include <cstdio>

namespace quorin::demo {

namespace {

constexpr const char* kNotes[] = {
    "Prefers morning appointments.", "Needs an interpreter.", "Parent works nights; call after 4 pm.",
    "Moved recently, confirm address.", "Interested in hearing aid studies only."};

std::string lower(std::string text)
{
    std::string out;
    for (char c : text)
        if (std::isalpha(static_cast<unsigned char>(c)))
            out += static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return out;
}

std::string phoneNumber(DemoRandom& random)
{
    char text[16];
    std::snprintf(text, sizeof text, "608-555-%04d", random.between(0, 9999));
    return text;
}

// Status weights: mostly active, every other status present.
int drawStatus(DemoRandom& random)
{
    const int r = random.between(0, 99);
    return r < 70 ? 0 : r < 80 ? 1 : r < 92 ? 2 : 3;
}

std::string drawSex(DemoRandom& random)
{
    const int r = random.between(0, 99);
    return r < 48 ? "Male" : r < 96 ? "Female" : r < 99 ? "Not Reported" : "";
}

} // namespace

void WriteSubjects(DemoContext& ctx, int count, const ProgressCallback& progress)
{
    SqliteInserter subject(ctx.db, "subjects",
        {"Lastname", "Firstname", "Unit", "Birthdate", "Sex", "Ethnicity", "Race", "Address", "City",
         "State", "Zip", "Phone1", "Phone1Type", "Phone2", "Phone2Type", "Email", "PrimaryLang",
         "PatImpression", "DateofEntry", "LastUpdate", "EnteredBy", "Status", "InitialDateofConsent",
         "LastDateofConsent", "Notes", "Zone", "Longterm", "Shortterm", "Workday", "Evenings",
         "Weekends", "Other", "Recruitment", "ScreeningImpr", "Parent", "Contact", "Sent", "Returned",
         "Bilingual", "LossType", "Cochlear", "School", "PastSpeech", "CurrentSpeech", "CochlearImplant"});
    auto& r = ctx.random;
    ctx.subjects.reserve(static_cast<std::size_t>(count));
    for (int i = 0; i < count; ++i) {
        DemoSubject s;
        const std::string sex = drawSex(r);
        s.lastName = std::string(r.pick(lists::kLastNames));
        s.firstName = std::string(sex == "Female" ? r.pick(lists::kFemaleNames) : r.pick(lists::kMaleNames));
        // Two in five are children; ages spread over the whole range otherwise.
        const int ageDays = r.percent(40) ? r.between(200, 18 * 365) : r.between(19 * 365 + 10, 88 * 365);
        s.birth = ctx.today.minusDays(ageDays);
        s.child = ctx.today.year() - s.birth.year() < 19;
        // Entered within the last fifteen years (never before birth); a few this month.
        const int maxBack = std::min(15 * 365, ageDays - 30);
        s.entry = ctx.today.minusDays(r.percent(3) ? r.between(0, 20) : r.between(0, maxBack));
        s.implant = r.percent(5) || i == 0;
        s.unit = (s.implant || r.percent(85)) ? 100000 + 3 * (i + 1) : 0;
        const int status = i < 4 ? i : drawStatus(r);

        const DemoDate lastConsent = r.percent(50) ? s.entry : s.entry.plusDays(r.between(0, 3000));
        const DemoDate consent = ctx.today < lastConsent ? ctx.today : lastConsent;
        DemoDate sent = DemoDate::empty();
        DemoDate returned = DemoDate::empty();
        if (r.percent(45)) {
            sent = ctx.today.minusDays(r.between(20, 1800));
            ++ctx.summary.lettersSent;
            if (r.percent(35)) {
                returned = DemoDate::notReturned();
                ++ctx.summary.lettersNotReturned;
            } else {
                returned = sent.plusDays(r.between(5, 19));
            }
        }
        const bool withZone = r.percent(80);
        const int zip = withZone ? r.between(53701, 53730) : r.between(53750, 53990);
        const std::string impression = s.implant ? (r.percent(60) ? "Cochlear Implant" : "Hearing Impaired")
                                                 : std::string(r.pick(lists::kImpressions));
        const bool hasPhone2 = r.percent(40);
        const std::string parent = s.child ? std::string(r.pick(lists::kFemaleNames)) + " " + s.lastName : "";
        const std::string enteredBy = ctx.staffNames.empty() ? "" : r.pick(ctx.staffNames);

        s.id = subject.insert({
            text(s.lastName), text(s.firstName), num(s.unit), s.birth, text(sex),
            text(r.percent(97) ? r.pick(lists::kEthnicities) : ""), text(r.percent(97) ? r.pick(lists::kRaces) : ""),
            text(std::to_string(r.between(10, 9999)) + " " + std::string(r.pick(lists::kStreets))),
            text(r.pick(lists::kCities)), text(r.pick(lists::kStates)), num(zip),
            text(phoneNumber(r)), text(r.pick(lists::kPhoneTypes)),
            text(hasPhone2 ? phoneNumber(r) : (r.percent(30) ? "0" : "")),
            text(hasPhone2 ? std::string(r.pick(lists::kPhoneTypes)) : ""),
            text(r.percent(60) ? lower(s.firstName) + "." + lower(s.lastName) + "@example.org" : ""),
            text(r.percent(80) ? "English" : r.pick(lists::kLanguages)), text(impression),
            s.entry, ctx.today < s.entry.plusDays(90) ? ctx.today : s.entry.plusDays(r.between(0, 90)),
            text(enteredBy), num(status), s.entry, consent,
            text(r.percent(20) ? kNotes[r.between(0, 4)] : ""), num(withZone ? 1 + (zip - 53701) / 4 % 9 : 10),
            num(r.percent(50)), num(r.percent(60)), num(r.percent(40)), num(r.percent(45)), num(r.percent(35)),
            num(r.percent(10)), text(r.percent(90) ? r.pick(lists::kRecruitment) : ""),
            text(r.pick(lists::kImpressions)), text(parent), text(r.pick(lists::kContacts)), sent, returned,
            text(r.pick(lists::kYesNoUnknown)), text(r.pick(lists::kLossTypes)),
            text(s.implant ? r.pick(lists::kBilateral) : "None "), text(s.child ? r.pick(lists::kSchools) : ""),
            text(r.pick(lists::kYesNoUnknown)), text(r.pick(lists::kYesNoUnknown)), text(s.implant ? "Yes" : "No")});

        ++ctx.summary.subjects;
        ++ctx.summary.byStatus[static_cast<std::size_t>(status)];
        if (s.child)
            ++ctx.summary.children;
        ctx.subjects.push_back(std::move(s));
        if (progress && ((i + 1) % 1000 == 0 || i + 1 == count))
            progress(i + 1, count);
    }
}

} // namespace quorin::demo
