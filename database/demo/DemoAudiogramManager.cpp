// The clinic's Audiogram Manager: tests of registry subjects (some newer than the
// registry's own, some of the same date) and of patients not yet in the registry.
#include "database/demo/DemoContext.h"
#include "database/demo/DemoLists.h"
#include "database/demo/SqliteInserter.h"

#include <algorithm>
#include <array>

namespace quorin::demo {

namespace {

// Audiogram Manager symbol codes: 1..12 and the no-response forms 129..137.
constexpr std::array kAmSymbols{1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 129, 130, 131, 132, 133, 134, 135, 136, 137};

class AmWriter {
public:
    explicit AmWriter(DemoContext& ctx)
        : m_ctx(ctx),
          m_info(ctx.db, "Aud.info", {"PatientNum", "Date", "Birthdate", "LastName", "FirstName", "Testedby", "Velmar"}),
          m_other(ctx.db, "Aud.Other", {"PatientIndex", "Reliability", "Method", "Comment", "Recomm"}),
          m_immit(ctx.db, "Aud.Immit",
                  {"PatientIndex", "TympNormR", "TympNormL", "TympPeakYL", "TympPeakYR", "TympAnormLVal", "TympAnormRVal",
                   "TestedL", "TestedR", "DecayL", "DecayR", "EFTVolL", "EFTVolR", "EFTRelL", "EFTRelR"}),
          m_impress(ctx.db, "Aud.Impress",
                    {"PatientIndex", "normal_r", "normal_l", "normal_sf", "conductive_r", "conductive_l", "conductive_sf",
                     "sensorineural_r", "sensorineural_l", "sensorineural_sf", "mixed_r", "mixed_l", "mixed_sf",
                     "undetermined_r", "undetermined_l", "undetermined_sf"}),
          m_special(ctx.db, "Aud.Special",
                    {"PatientIndex", "tinnitus_r", "tinnitus_l", "fullness_r", "fullness_l", "hearing_aids_r",
                     "hearing_aids_l", "dizziness", "hx_of_om", "hx_of_noise_exp", "enrolled_sped", "enrolled_speech",
                     "famhx"}),
          m_speech(ctx.db, "Aud.Speech",
                   {"Patientindex", "sata", "srta", "lev1a", "lev2a", "pc1a", "pc2a", "mata", "satb", "srtb", "lev1b",
                    "lev2b", "pc1b", "pc2b", "matb", "satc", "srtc", "matc"}),
          m_points(ctx.db, "Aud.newpoints", {"patientindex", "x", "y", "symbol", "mask"})
    {
    }

    void write(int unit, const std::string& last, const std::string& first, const DemoDate& birth, const DemoDate& date,
               int level)
    {
        auto& r = m_ctx.random;
        const auto bit = [&](int chance) { return num(r.percent(chance) ? 1 : 0); };
        const std::int64_t index = m_info.insert({num(unit), date, birth, text(last), text(first),
                                                  text(r.pick(m_ctx.staffNames)),
                                                  text(r.percent(70) ? "Yes" : r.percent(50) ? "No" : "Declined")});
        m_other.insert({num(index), num(r.between(0, 2)), num(r.between(0, 4)),
                        text(r.percent(40) ? "Good test reliability." : ""), text(r.percent(40) ? "Annual follow-up." : "")});
        m_immit.insert({num(index), num(r.between(0, 5)), num(r.between(0, 5)), real(r.real(0.2, 1.5)), real(r.real(0.2, 1.5)),
                        real(r.real(-150, 50)), real(r.real(-150, 50)), num(r.between(0, 3)), num(r.between(0, 3)),
                        num(0), num(0), real(r.percent(10) ? -1.0 : r.real(0.4, 2.0)), real(r.real(0.4, 2.0)),
                        real(r.percent(60) ? -1.0 : r.real(-200, 0)), real(r.percent(60) ? -1.0 : r.real(-200, 0))});
        // One type of loss per ear; now and then two flags set at once.
        const int lossR = r.between(0, 5);
        const int lossL = r.between(0, 5);
        const auto loss = [&](int which, int kind) { return num(which == kind || (kind == 3 && which == 0 && r.percent(5)) ? 1 : 0); };
        m_impress.insert({num(index), loss(lossR, 0), loss(lossL, 0), bit(30), loss(lossR, 1), loss(lossL, 1), bit(10),
                          loss(lossR, 2), loss(lossL, 2), bit(10), loss(lossR, 3), loss(lossL, 3), bit(5), loss(lossR, 4),
                          loss(lossL, 4), bit(5)});
        m_special.insert({num(index), bit(15), bit(15), bit(10), bit(10), bit(30), bit(30), bit(8), bit(20), bit(12),
                          bit(10), bit(15), bit(25)});
        // Levels sometimes carry the 0x100 / 0x1000 flag bits the import clears.
        const auto speechLevel = [&] { return num((level + 30) | (r.percent(10) ? 0x1000 : 0) | (r.percent(5) ? 0x100 : 0)); };
        m_speech.insert({num(index), num(level), num(level + 5), speechLevel(), speechLevel(), num(r.between(40, 100)),
                         num(r.between(40, 100)), num(r.between(0, 17)), num(level), num(level + 5), speechLevel(),
                         speechLevel(), num(r.between(40, 100)), num(r.between(40, 100)), num(r.between(0, 17)),
                         num(level), num(level + 5), num(r.between(0, 17))});
        for (int x = 1; x <= 10; ++x) {
            for (int symbol : {1, 2}) {
                const int db = std::clamp(level + x * 2 + r.between(-10, 10), -5, 120);
                const int code = r.percent(90) ? (symbol == 1 ? r.pick(std::array{1, 3}) : r.pick(std::array{2, 4}))
                                               : r.pick(kAmSymbols);
                m_points.insert({num(index), num(x), num(db / 5 + 1), num(code), num(r.percent(20) ? r.between(0, 80) : 0)});
            }
        }
        ++m_ctx.summary.amTests;
    }

private:
    DemoContext& m_ctx;
    SqliteInserter m_info, m_other, m_immit, m_impress, m_special, m_speech, m_points;
};

} // namespace

void WriteAudiogramManager(DemoContext& ctx)
{
    AmWriter writer(ctx);
    auto& r = ctx.random;
    for (const auto& s : ctx.subjects) {
        if (s.unit == 0 || (s.id != 1 && !r.percent(55))) // the first subject is always a clinic patient
            continue;
        const DemoDate latest = s.hasTest ? s.lastTest : s.entry;
        const int level = r.between(0, 90);
        // The clinic tested the same day the registry did.
        writer.write(s.unit, s.lastName, s.firstName, s.birth, latest, level);
        if (r.percent(40)) // an earlier clinic test
            writer.write(s.unit, s.lastName, s.firstName, s.birth, latest.minusDays(r.between(100, 900)), level);
        if (r.percent(30)) { // a newer clinic test the registry has not imported yet
            DemoDate newer = latest.plusDays(r.between(20, 400));
            writer.write(s.unit, s.lastName, s.firstName, s.birth, ctx.today < newer ? ctx.today : newer, level + 5);
        }
    }
    // Clinic patients who are not in the registry yet.
    const int strangers = std::max(5, static_cast<int>(ctx.subjects.size()) / 20);
    for (int i = 0; i < strangers; ++i) {
        const bool female = r.percent(50);
        const DemoDate birth = ctx.today.minusDays(r.between(300, 80 * 365));
        const std::string last(r.pick(lists::kLastNames));
        const std::string first(female ? r.pick(lists::kFemaleNames) : r.pick(lists::kMaleNames));
        const int tests = r.between(1, 3);
        for (int t = 0; t < tests; ++t)
            writer.write(900000 + i, last, first, birth, ctx.today.minusDays(r.between(0, 2000)), r.between(0, 90));
    }
    // The registry has always sent its subjects' status (the words of subjects/AmStatus.h):
    // the clinic holds it for every test of a registry subject.
    execute(ctx.db, "UPDATE Aud.info SET Velmar = (SELECT CASE s.Status WHEN 0 THEN 'Yes' WHEN 1 THEN 'Declined' "
                    "ELSE 'No' END FROM subjects s WHERE s.Unit = info.PatientNum AND s.Birthdate = info.Birthdate "
                    "ORDER BY s.SubjectId LIMIT 1) WHERE EXISTS (SELECT 1 FROM subjects s "
                    "WHERE s.Unit = info.PatientNum AND s.Birthdate = info.Birthdate)");
}

} // namespace quorin::demo
