// The subjects: demographics, contact, consent and letters, availability.
#include "database/demo/DemoContext.h"
#include "database/demo/DemoLists.h"
#include "database/demo/SqliteInserter.h"

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <initializer_list>
#include <string_view>

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

// The record was last touched some days after it was entered, and at the latest
// consent renewal at least.
DemoDate lastUpdate(const DemoDate& today, const DemoDate& entry, const DemoDate& consent, DemoRandom& random)
{
    const DemoDate touched = today < entry.plusDays(90) ? today : entry.plusDays(random.between(0, 90));
    return touched < consent ? consent : touched;
}

struct Weight {
    std::string_view value;
    int weight;
};

// A value of the list, each as likely as its weight in the table (a value the table does
// not name weighs `otherWeight`, so a list that grows still has every value drawn).
template <typename List>
std::string weighted(DemoRandom& random, const List& values, std::initializer_list<Weight> weights, int otherWeight)
{
    auto weightOf = [&](std::string_view value) {
        for (const Weight& w : weights)
            if (w.value == value)
                return w.weight;
        return otherWeight;
    };
    int total = 0;
    for (const auto& value : values)
        total += weightOf(value);
    int draw = random.between(0, total - 1);
    for (const auto& value : values) {
        draw -= weightOf(value);
        if (draw < 0)
            return std::string(value);
    }
    return std::string(values[values.size() - 1]);
}

// Most subjects are active; a few withdrew, moved away or cannot take part now.
int drawStatus(DemoRandom& random)
{
    const int r = random.between(0, 99);
    return r < 82 ? 0 : r < 87 ? 1 : r < 95 ? 2 : 3;
}

// A Midwestern clinic's population: mostly white, with Black, Asian (many Hmong
// families) and Hispanic subjects; a few who do not say (three in a hundred leave the
// field open).
std::string drawRace(DemoRandom& random)
{
    if (!random.percent(97))
        return "";
    return weighted(random, lists::kRaces,
                    {{"White", 680}, {"Black or African American", 90}, {"Asian", 70},
                     {"American Indian or Alaskan Native", 10}, {"Native Hawaiian or Other Pacific Islander", 4},
                     {"More Than One", 40}, {"Not Reported", 70}},
                    20);
}

std::string drawEthnicity(DemoRandom& random)
{
    if (!random.percent(97))
        return "";
    return weighted(random, lists::kEthnicities,
                    {{"Not Hispanic or Latino", 84}, {"Hispanic or Latino", 9}, {"Not Reported", 7}}, 3);
}

// Home and cell phones; work numbers now and then; a pager very rarely.
std::string drawPhoneType(DemoRandom& random)
{
    return weighted(random, lists::kPhoneTypes, {{"Home", 420}, {"Cell", 440}, {"Work", 130}, {"Pager", 5}}, 20);
}

// The first subjects after the four of the four statuses are active and show every
// race with every ethnicity (and none), as adults and as children, so that each report
// has rows even in a small demo; the weights hold for everybody after them.
struct Showcase {
    static constexpr std::size_t kFirst = 4;
    static constexpr std::size_t kRaces = lists::kRaces.size();
    static constexpr std::size_t kEthnicities = lists::kEthnicities.size() + 1; // and ""
    static constexpr std::size_t kCount = kRaces * kEthnicities * 2;

    static bool holds(int subject)
    {
        return subject >= static_cast<int>(kFirst) && static_cast<std::size_t>(subject) < kFirst + kCount;
    }
    static std::size_t at(int subject) { return static_cast<std::size_t>(subject) - kFirst; }
    static bool child(int subject) { return at(subject) >= kRaces * kEthnicities; }
    static std::string race(int subject) { return std::string(lists::kRaces[at(subject) % kRaces]); }
    static std::string ethnicity(int subject)
    {
        const std::size_t e = at(subject) / kRaces % kEthnicities;
        return e < lists::kEthnicities.size() ? std::string(lists::kEthnicities[e]) : "";
    }
};

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
        const bool showcase = Showcase::holds(i);
        const bool child = showcase ? Showcase::child(i) : r.percent(40);
        const int ageDays = child ? r.between(200, 18 * 365) : r.between(19 * 365 + 10, 88 * 365);
        s.birth = ctx.today.minusDays(ageDays);
        s.child = ctx.today.year() - s.birth.year() < 19;
        // Entered within the last fifteen years (never before birth); a few this month.
        const int maxBack = std::min(15 * 365, ageDays - 30);
        s.entry = ctx.today.minusDays(r.percent(3) ? r.between(0, 20) : r.between(0, maxBack));
        s.implant = r.percent(5) || i == 0;
        s.unit = (s.implant || r.percent(85)) ? 100000 + 3 * (i + 1) : 0;
        const int status = i < 4 ? i : showcase ? 0 : drawStatus(r);
        const std::string ethnicity = showcase ? Showcase::ethnicity(i) : drawEthnicity(r);
        const std::string race = showcase ? Showcase::race(i) : drawRace(r);
        // The first subjects show every phone type.
        const std::string phone1Type = static_cast<std::size_t>(i) < lists::kPhoneTypes.size()
                                           ? std::string(lists::kPhoneTypes[static_cast<std::size_t>(i)])
                                           : drawPhoneType(r);

        // Two in five never renewed their consent; the others last renewed it on a day
        // between the initial consent and today.
        const DemoDate consent =
            r.percent(40) ? s.entry : s.entry.plusDays(r.between(0, std::max(0, s.entry.daysUntil(ctx.today))));
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
            text(ethnicity), text(race),
            text(std::to_string(r.between(10, 9999)) + " " + std::string(r.pick(lists::kStreets))),
            text(r.pick(lists::kCities)), text(r.pick(lists::kStates)), num(zip),
            text(phoneNumber(r)), text(phone1Type),
            text(hasPhone2 ? phoneNumber(r) : (r.percent(30) ? "0" : "")),
            text(hasPhone2 ? drawPhoneType(r) : ""),
            text(r.percent(60) ? lower(s.firstName) + "." + lower(s.lastName) + "@example.org" : ""),
            text(r.percent(80) ? "English" : r.pick(lists::kLanguages)), text(impression),
            s.entry, lastUpdate(ctx.today, s.entry, consent, r), text(enteredBy), num(status), s.entry, consent,
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
