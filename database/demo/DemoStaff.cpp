// The demo's staff: members with logins (an administrator and ordinary users), and
// members without one (inactive, and active without password) for the Users window.
#include "database/demo/DemoContext.h"
#include "database/demo/SqliteInserter.h"

namespace quorin::demo {

const std::vector<DemoStaffLogin>& demoStaffLogins()
{
    static const std::vector<DemoStaffLogin> logins = {
        {"admin", "QuorinDemo-Admin1", "ADMINISTRATOR", "REGISTRY", 3},
        {"jsmith", "QuorinDemo-User1", "SMITH", "JANE", 0},
        {"mgarcia", "QuorinDemo-User1", "GARCIA", "MIGUEL", 0},
        {"klee", "QuorinDemo-User1", "LEE", "KAREN", 0},
    };
    return logins;
}

namespace {

struct StaffWithoutLogin {
    const char* user;
    const char* lastName;
    const char* firstName;
    int status;
};

constexpr StaffWithoutLogin kFormerStaff[] = {
    {"rolson", "OLSON", "ROBERT", 1},
    {"tvang", "VANG", "TOU", 2},
};

} // namespace

void WriteStaffRows(DemoContext& ctx)
{
    SqliteInserter pers(ctx.db, "pers",
                        {"UserName", "LastName", "FirstName", "Name", "Status", "Citi", "Nih", "Other", "Review"});
    const auto add = [&](const char* user, const char* last, const char* first, int status) {
        const DemoDate citi = ctx.today.minusDays(ctx.random.between(30, 900));
        const DemoDate nih = ctx.random.percent(70) ? ctx.today.minusDays(ctx.random.between(30, 1500)) : DemoDate::empty();
        const std::int64_t id = pers.insert({std::string(user), std::string(last), std::string(first),
                                             std::string(last) + ", " + first, std::int64_t{status}, citi, nih,
                                             std::string(" "), std::string()});
        ++ctx.summary.staff;
        return id;
    };
    for (const auto& staff : demoStaffLogins()) {
        ctx.staffIds.push_back(add(staff.login, staff.lastName, staff.firstName, staff.status));
        ctx.staffNames.emplace_back(staff.login);
    }
    for (const auto& staff : kFormerStaff)
        add(staff.user, staff.lastName, staff.firstName, staff.status);
}

} // namespace quorin::demo
