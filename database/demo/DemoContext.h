#pragma once
// What the demo's generators share while they write one registry.

#include "database/demo/DemoDate.h"
#include "database/demo/DemoRandom.h"
#include "database/demo/DemoRegistry.h"

#include <sqlite3.h>

#include <cstdint>
#include <string>
#include <vector>

namespace quorin::demo {

struct DemoSubject {
    std::int64_t id = 0;
    int unit = 0;
    std::string lastName;
    std::string firstName;
    DemoDate birth;
    DemoDate entry;
    bool child = false;
    bool implant = false;
    DemoDate lastTest;     // date of the newest registry audiogram
    bool hasTest = false;
};

struct DemoContext {
    DemoContext(sqlite3* handle, std::uint32_t seed) : db(handle), random(seed) {}

    sqlite3* db;             // Quorin.db with Aud and CID attached
    DemoRandom random;
    DemoDate today = DemoDate::today();
    DemoSummary summary;
    std::vector<DemoSubject> subjects;
    std::vector<std::int64_t> staffIds;   // pers keys of the staff who request datasets
    std::vector<std::string> staffNames;  // their user names, for "EnteredBy"
};

// The generators, in the order the demo runs them.
void WriteStaffRows(DemoContext& ctx);
void WriteLookupTables(DemoContext& ctx);
void WriteSubjects(DemoContext& ctx, int count, const ProgressCallback& progress);
void WriteAudiograms(DemoContext& ctx);
void WriteAudiogramManager(DemoContext& ctx);
void WriteImplants(DemoContext& ctx);
void WriteSpeechTests(DemoContext& ctx);
void WriteStudies(DemoContext& ctx);

} // namespace quorin::demo
