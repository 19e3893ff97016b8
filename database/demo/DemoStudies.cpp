// Studies: datasets requested under IRB protocols, their releases while open, the
// researchers' feedback (participation) and the call log.
#include "database/demo/DemoContext.h"
#include "database/demo/DemoLists.h"
#include "database/demo/SqliteInserter.h"

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

namespace quorin::demo {

namespace {

constexpr const char* kNoContact[] = {"Left message", "Phone disconnected", "No answer after three calls",
                                      "Moved, no forwarding address"};
constexpr const char* kNoParticipation[] = {"Scheduling conflict", "Not interested", "Did not meet criteria",
                                            "Illness"};

// Contact code: mostly contacted; could not contact (1 and 3), did not contact (2),
// taken off the no-contact list (4).
int drawContacted(DemoRandom& r)
{
    const int x = r.between(0, 99);
    return x < 55 ? 0 : x < 72 ? 1 : x < 82 ? 2 : x < 94 ? 3 : 4;
}

class StudyWriter {
public:
    explicit StudyWriter(DemoContext& ctx)
        : m_ctx(ctx),
          m_dataset(ctx.db, "dataset", {"Dataset", "Irb", "ProjectTitle", "GrantNo", "Query", "PersId", "CreateDate"}),
          m_request(ctx.db, "requesthistory", {"Title", "Irb", "SubjectId", "RequestDate", "PersId"}),
          m_release(ctx.db, "release", {"Title", "Irb", "SubjectId", "ReleaseDate"}),
          m_partic(ctx.db, "participationhistory",
                   {"SubjectId", "Dataset", "Irb", "Contacted", "ExContact", "Participate", "ExPartic", "Date1", "Date2",
                    "Show", "Appts", "Completed", "CallAgain", "Lab", "Done", "Sessions", "Comments", "FeedbackDate"}),
          m_call(ctx.db, "calllog", {"Dataset", "Irb", "SubjectId", "CallDate", "PersId", "Notes"})
    {
    }

    void write(int index, bool open)
    {
        auto& r = m_ctx.random;
        char irb[32];
        // Pairs of datasets share an IRB protocol.
        std::snprintf(irb, sizeof irb, "IRB-%d-%03d", m_ctx.today.year() - 6 + index / 2 % 6, 100 + index / 2);
        const std::string topic(lists::kStudyTopics[static_cast<std::size_t>(index) % lists::kStudyTopics.size()]);
        const std::string name = topic + " " + static_cast<char>('A' + index / static_cast<int>(lists::kStudyTopics.size()) % 26) +
                                 std::to_string(index / 312 + 1);
        const std::int64_t persId = r.pick(m_ctx.staffIds);
        const DemoDate created = m_ctx.today.minusDays(open ? r.between(10, 400) : r.between(200, 2000));
        const int lab = r.between(0, static_cast<int>(lists::kLabs.size()) - 1);
        m_dataset.insert({text(name), text(irb), text(topic + " in Children and Adults"),
                          text("R01 DC00" + std::to_string(r.between(1000, 9999))),
                          text("Age: " + std::to_string(r.between(3, 19)) + "-" + std::to_string(r.between(20, 80)) +
                               "\r\nHearing Status: " + std::string(r.pick(lists::kImpressions)) + "\r\nStatus: Active"),
                          num(persId), created});
        ++m_ctx.summary.datasets;
        if (open)
            ++m_ctx.summary.openDatasets;

        // Consecutive subjects from a random start, so nobody is requested twice for one
        // dataset; the first dataset starts with the first subject.
        const int count = static_cast<int>(m_ctx.subjects.size());
        const int size = std::min(r.between(8, 30), std::max(1, count / 2));
        const int start = index == 0 ? 0 : r.between(0, count - 1);
        const int requests = r.percent(25) ? 2 : 1;
        DemoDate requested = created.plusDays(r.between(0, 10));
        for (int q = 0; q < requests; ++q) {
            for (int k = 0; k < size; ++k) {
                const auto& s = m_ctx.subjects[static_cast<std::size_t>((start + q * size + k) % count)];
                writeSubject(s.id, name, irb, requested, persId, open, lab);
            }
            requested = requested.plusDays(r.between(30, 120));
            if (m_ctx.today < requested)
                requested = m_ctx.today;
        }
    }

    void writeOrphanCalls()
    {
        for (int i = 0; i < 3; ++i)
            m_call.insert({text("Retired Pilot Study"), text("IRB-1999-001"), num(m_ctx.subjects.front().id),
                           m_ctx.today.minusDays(3000 + i), num(m_ctx.staffIds.front()), text("Study withdrawn")});
    }

private:
    void writeSubject(std::int64_t subject, const std::string& name, const std::string& irb, const DemoDate& requested,
                      std::int64_t persId, bool open, int lab)
    {
        auto& r = m_ctx.random;
        m_request.insert({text(name), text(irb), num(subject), requested, num(persId)});
        ++m_ctx.summary.requests;
        if (open) {
            m_release.insert({text(name), text(irb), num(subject), requested});
            if (r.percent(40))
                m_call.insert({text(name), text(irb), num(subject), requested.plusDays(r.between(1, 9)), num(persId),
                               text(r.percent(50) ? "Left message" : "Scheduled")});
            if (!r.percent(50))
                return; // no feedback yet
        }
        const int contacted = drawContacted(r);
        const int participate = contacted == 0 ? (r.percent(75) ? 0 : 1) : r.percent(70) ? 1 : -1;
        DemoDate date1 = requested.plusDays(r.between(5, 60));
        if (m_ctx.today < date1)
            date1 = m_ctx.today;
        DemoDate date2 = date1.plusDays(r.between(0, 30));
        if (m_ctx.today < date2)
            date2 = m_ctx.today;
        DemoDate feedback = date2.plusDays(r.between(0, 20));
        if (m_ctx.today < feedback)
            feedback = m_ctx.today;
        const bool took = participate == 0;
        m_partic.insert({num(subject), text(name), text(irb), num(contacted),
                         text(contacted == 0 ? "" : kNoContact[r.between(0, 3)]), num(participate),
                         text(participate == 1 ? kNoParticipation[r.between(0, 3)] : ""), date1, took ? date2 : DemoDate::empty(),
                         num(took ? r.between(-1, 1) : -1), num(took ? r.between(0, 3) : -1),
                         num(took ? r.between(-1, 1) : -1), num(r.between(-1, 1)),
                         text(lists::kLabs[static_cast<std::size_t>(lab)]), num(open ? 0 : 1), num(took ? r.between(1, 6) : -1),
                         text(took && r.percent(30) ? "Completed all sessions." : ""), feedback});
        ++m_ctx.summary.participations;
        if (contacted == 1)
            ++m_ctx.summary.notContacted;
    }

    DemoContext& m_ctx;
    SqliteInserter m_dataset, m_request, m_release, m_partic, m_call;
};

} // namespace

void WriteStudies(DemoContext& ctx)
{
    if (ctx.subjects.empty() || ctx.staffIds.empty())
        return;
    StudyWriter writer(ctx);
    const int datasets = std::max(6, static_cast<int>(ctx.subjects.size()) / 80);
    for (int i = 0; i < datasets; ++i)
        writer.write(i, i % 5 == 1 || i % 5 == 3);
    writer.writeOrphanCalls();
}

} // namespace quorin::demo
