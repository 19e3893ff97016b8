// The registry's audiograms: most subjects have one, some a history of several, with
// symbols of every kind (and their no-response forms) on the chart.
#include "database/demo/DemoContext.h"
#include "audiograms/record/CAudPoint.h"
#include "database/demo/DemoLists.h"
#include "database/demo/SqliteInserter.h"

#include <algorithm>
#include <utility>
#include <vector>

namespace quorin::demo {

namespace {

struct Point {
    int symbol;
    int xy;
    int type;
};

// One test's symbols around the subject's hearing level (dB HL).
std::vector<Point> drawPoints(DemoRandom& r, int level)
{
    std::vector<Point> points;
    const auto add = [&](int symbol, int x, int db) {
        db = std::clamp(db, -5, 120);
        const int y = db / 5 + 1;
        if (y >= 25 && (symbol <= 7)) // beyond the audiometer: no response
            symbol += 128;
        points.push_back({symbol, x * 100 + y, CAudPoint::TypeOfSymbol(symbol)});
    };
    const int rightAc = r.percent(70) ? 1 : 2;
    const int leftAc = r.percent(70) ? 3 : 4;
    for (int x = 1; x <= 10; ++x) {
        const int slope = x * r.between(0, 4);
        add(rightAc, x, level + slope + r.between(-10, 10));
        add(leftAc, x, level + slope + r.between(-10, 10));
    }
    for (int x = 2; x <= 8; x += 2) {
        if (r.percent(60))
            add(5, x, level - r.between(0, 30));
        if (r.percent(60))
            add(7, x, level - r.between(0, 30));
        if (r.percent(30))
            add(6, x, level - r.between(0, 30));
    }
    if (r.percent(10)) { // sound field, single response and vibrotactile
        add(10, 4, level + r.between(-10, 10));
        add(11, 6, level + r.between(-10, 10));
        add(12, 2, 100 + r.between(0, 20));
    }
    if (r.percent(5)) { // no-response arrows
        add(8, 10, 120);
        add(9, 10, 120);
    }
    return points;
}

class AudiogramWriter {
public:
    explicit AudiogramWriter(DemoContext& ctx)
        : m_ctx(ctx),
          m_aud(ctx.db, "aud",
                {"SubjectId", "TestDate", "TestedBy", "Reliability", "Method", "Imported", "ImpressL", "ImpressR",
                 "ImpressSF", "TinnitusL", "TinnitusR", "FullnessL", "FullnessR", "HearingAidsL", "HearingAidsR",
                 "Dizziness", "NoiseExp", "HxHearingLoss", "Sped", "SpchLang", "OM", "OAEL", "OAER", "ABRL", "ABRR",
                 "TympL", "TympR", "PeakYL", "PeakYR", "PeakPressL", "PeakPressR", "ReflexL", "ReflexR", "ETFVolL",
                 "ETFVolR", "ETFRelL", "ETFRelR", "SRTR", "SATR", "Lev1R", "Lev2R", "PC1R", "PC2R", "MatR", "SRTL",
                 "SATL", "Lev1L", "Lev2L", "PC1L", "PC2L", "MatL", "SRTSF", "SATSF", "Comments", "Recommend",
                 "CochImpL", "CochImpR"}),
          m_points(ctx.db, "audpoints", {"TestId", "symbol", "xy", "mask", "recent", "type"})
    {
    }

    std::int64_t write(const DemoSubject& s, const DemoDate& date, const std::vector<Point>& own,
                       const std::vector<Point>& carried)
    {
        auto& r = m_ctx.random;
        const auto code = [&](int low, int high) { return num(r.percent(85) ? r.between(low, high) : -1); };
        const auto flag = [&](int chance) { return num(r.percent(chance) ? 1 : 0); };
        const auto measure = [&](double low, double high) { return real(r.percent(85) ? r.real(low, high) : -999.0); };
        const int srt = std::clamp(own.empty() ? 20 : (own.front().xy % 100 - 1) * 5, 0, 100);
        const auto material = [&] { return text(r.percent(80) ? r.pick(lists::kSpeechMaterials) : " "); };
        const std::int64_t id = m_aud.insert({
            num(s.id), date, text(m_ctx.staffNames.empty() ? "" : r.pick(m_ctx.staffNames)), code(0, 2),
            code(0, 3), num(r.percent(15) ? 1 : 0), code(0, 4), code(0, 4), code(0, 1), flag(15), flag(15), flag(10),
            flag(10), flag(s.implant ? 10 : 30), flag(s.implant ? 10 : 30), flag(8), flag(12), flag(25), flag(s.child ? 20 : 0),
            flag(s.child ? 25 : 0), flag(s.child ? 30 : 5), code(0, 1), code(0, 1), code(0, 1), code(0, 1), code(0, 4),
            code(0, 4), measure(0.2, 1.6), measure(0.2, 1.6), measure(-150, 50), measure(-150, 50), code(0, 3),
            code(0, 3), measure(0.4, 2.0), measure(0.4, 2.0), real(r.percent(20) ? r.real(-200, 0) : -999.0), real(-999.0),
            num(srt), num(std::max(0, srt - 5)), num(srt + 30), num(srt + 40), num(r.between(40, 100)),
            num(r.between(40, 100)), material(), num(srt + r.between(-5, 5)), num(std::max(0, srt - 5)), num(srt + 30),
            num(srt + 40), num(r.between(40, 100)), num(r.between(40, 100)), material(), code(0, 60), code(0, 60),
            text(r.percent(30) ? "Results consistent with previous test." : ""),
            text(r.percent(40) ? "Retest in one year." : ""), num(s.implant && r.percent(70) ? 1 : 0),
            num(s.implant && r.percent(40) ? 1 : 0)});
        for (const auto& p : carried)
            writePoint(id, p, 0);
        for (const auto& p : own)
            writePoint(id, p, 1);
        ++m_ctx.summary.audiograms;
        return id;
    }

private:
    void writePoint(std::int64_t test, const Point& p, int recent)
    {
        auto& r = m_ctx.random;
        m_points.insert({num(test), num(p.symbol), num(p.xy), num(r.percent(20) ? r.between(0, 80) : -1), num(recent),
                         num(p.type)});
        ++m_ctx.summary.audPoints;
    }

    DemoContext& m_ctx;
    SqliteInserter m_aud;
    SqliteInserter m_points;
};

} // namespace

void WriteAudiograms(DemoContext& ctx)
{
    AudiogramWriter writer(ctx);
    auto& r = ctx.random;
    for (auto& s : ctx.subjects) {
        if (s.id != 1 && !r.percent(85)) // the first subject always has a history
            continue;
        const int tests = r.percent(25) || s.id == 1 ? r.between(2, 4) : 1;
        const int level = s.implant ? r.between(85, 110) : r.percent(45) ? r.between(30, 75) : r.between(0, 15);
        // Stored oldest first, so the newest test has the highest key, as saves make it.
        DemoDate date = s.entry;
        std::vector<Point> previous;
        for (int t = 0; t < tests; ++t) {
            const std::vector<Point> own = drawPoints(r, level + 3 * t);
            std::vector<Point> carried;
            for (std::size_t k = 0; k < previous.size() && carried.size() < 3; k += 5)
                carried.push_back(previous[k]);
            writer.write(s, date, own, carried);
            s.lastTest = date;
            s.hasTest = true;
            previous = own;
            date = date.plusDays(r.between(60, 500));
            if (ctx.today < date)
                date = ctx.today;
        }
    }
}

} // namespace quorin::demo
