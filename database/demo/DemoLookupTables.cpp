// Zones of the zip codes around the institute and the recruitment methods.
#include "database/demo/DemoContext.h"
#include "database/demo/DemoLists.h"
#include "database/demo/SqliteInserter.h"

namespace quorin::demo {

void WriteLookupTables(DemoContext& ctx)
{
    SqliteInserter zone(ctx.db, "zones", {"Zip", "DZone"});
    // Zip codes 53701..53730 lie in zones 1 to 9 by distance; the subjects also live at
    // zips the table does not know, which the save stores as zone 10.
    for (int zip = 53701; zip <= 53730; ++zip)
        zone.insert({std::int64_t{zip}, std::int64_t{1 + (zip - 53701) / 4 % 9}});

    SqliteInserter method(ctx.db, "recruitment", {"method"});
    for (auto name : lists::kRecruitment)
        method.insert({std::string(name)});
}

} // namespace quorin::demo
