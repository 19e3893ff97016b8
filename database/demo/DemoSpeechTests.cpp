// Speech, language and literacy tests, mostly of children.
#include "database/demo/DemoContext.h"
#include "database/demo/DemoLists.h"
#include "database/demo/SqliteInserter.h"

#include <string>

namespace quorin::demo {

void WriteSpeechTests(DemoContext& ctx)
{
    SqliteInserter speech(ctx.db, "speech",
                          {"SubjectId", "TestName", "TestDate", "AgeAtTest", "TestedBy", "Lab", "Screening", "RawScore",
                           "StandardScore", "AgeEquivalent", "Percentile", "SD", "Other", "Comments"});
    auto& r = ctx.random;
    for (const auto& s : ctx.subjects) {
        if (!(s.id == 1 || (s.child && r.percent(30)) || (!s.child && r.percent(3))))
            continue;
        const int tests = r.between(1, 3);
        for (int t = 0; t < tests; ++t) {
            DemoDate date = s.entry.plusDays(r.between(0, 700));
            if (ctx.today < date)
                date = ctx.today;
            const int months = (date.year() - s.birth.year()) * 12 + static_cast<int>(date.month()) -
                               static_cast<int>(s.birth.month());
            speech.insert({num(s.id), text(r.pick(lists::kSpeechTests)), date,
                           text(std::to_string(months / 12) + "yrs " + std::to_string(months % 12) + "mos"),
                           text(ctx.staffNames.empty() ? "" : r.pick(ctx.staffNames)), text(r.pick(lists::kLabs)),
                           text(r.pick(lists::kScreening)), text(std::to_string(r.between(10, 120))),
                           text(std::to_string(r.between(55, 145))), num(std::max(0, months + r.between(-24, 12))),
                           text(std::to_string(r.between(1, 99))), text(std::to_string(r.between(-3, 3))),
                           text(r.percent(10) ? "Retest advised" : ""),
                           text(r.percent(30) ? "Attentive throughout the session." : "")});
            ++ctx.summary.speechTests;
        }
    }
}

} // namespace quorin::demo
