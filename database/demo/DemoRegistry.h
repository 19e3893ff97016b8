#pragma once
// The demo registry: a deterministic registry of believable subjects whose data reach
// every feature of the program (every list value, children and adults, every status,
// letters out and back, audiogram histories, Audiogram Manager tests newer than the
// registry's, cochlear-implant patients in CID, studies with requests, releases and
// feedback, staff with logins).

#include <array>
#include <cstdint>
#include <functional>
#include <string>
#include <utility>
#include <vector>

namespace quorin::demo {

// Called now and then while subjects are written: (subjects done, subjects in total).
using ProgressCallback = std::function<void(int done, int total)>;

// How the subjects spread over the values of one field, most frequent first.
struct DemoDistribution {
    std::string name;                                 // "Status", "Race", ...
    std::vector<std::pair<std::string, int>> counts;  // value ("(empty)" for ""), subjects
};

// One line: "Race: White 1361 (68.1%), Asian 140 (7.0%), ..."
std::string DescribeDistribution(const DemoDistribution& distribution);

// What the generator wrote, so that tests can check the reports' counts against it.
struct DemoSummary {
    int subjects = 0;
    std::array<int, 4> byStatus{}; // 0 active, 1 withdrawn, 2 inactive, 3 not available
    int children = 0;              // under 19 in calendar years, as the reports count
    int audiograms = 0;            // rows of aud
    int audPoints = 0;
    int lettersSent = 0;           // subjects with a letter-sent date
    int lettersNotReturned = 0;    // of those, still out ("01/01/1901")
    int amTests = 0;               // Audiogram Manager tests (rows of Aud's info)
    int cidPatients = 0;
    int ciSubjects = 0;            // registry subjects with implant data
    int speechTests = 0;
    int datasets = 0;
    int openDatasets = 0;          // datasets with release rows
    int requests = 0;              // rows of requesthistory
    int participations = 0;        // rows of participationhistory
    int notContacted = 0;          // participation rows with contacted = 1
    int staff = 0;                 // rows of pers
    // Status, race, ethnicity, phone types and the last consent's distance from the
    // initial one, as stored.
    std::vector<DemoDistribution> distributions;
};

// A staff member of the demo with a login (status as in pers: 0 active, 3 administrator).
struct DemoStaffLogin {
    const char* login;
    const char* password;
    const char* lastName;
    const char* firstName;
    int status;
};

// The demo's staff logins, administrator first. The passwords are the documented demo
// passwords (see database/README.md).
const std::vector<DemoStaffLogin>& demoStaffLogins();

// Subjects in a demo registry unless asked otherwise.
inline constexpr int kDefaultDemoSubjects = 2000;
inline constexpr std::uint32_t kDefaultDemoSeed = 20090307;

// Fills a server folder that dalport::CreateServer made from registryScripts(): staff
// logins and database users, then every table, in one transaction per database file.
// Refuses (std::runtime_error) a registry that already holds subjects.
DemoSummary FillDemoRegistry(const std::string& serverFolder, int subjects, std::uint32_t seed,
                             const ProgressCallback& progress = {});

// Creates the server (administrator login from demoStaffLogins()) and fills it.
DemoSummary CreateDemoRegistry(const std::string& serverFolder, int subjects = kDefaultDemoSubjects,
                               std::uint32_t seed = kDefaultDemoSeed, const ProgressCallback& progress = {});

// CreateDemoRegistry in `folder` whole or not at all (dalport::BuildFolderWhole): a run
// that fails part-way, or whose `progress` throws, leaves nothing behind. `progress`
// hears (0, subjects) before anything is written and (subjects, subjects) once all is,
// just before the folder is put in place, so a callback that throws to cancel is heard
// at both ends of the work.
DemoSummary CreateDemoRegistryWhole(const std::string& folder, int subjects = kDefaultDemoSubjects,
                                    std::uint32_t seed = kDefaultDemoSeed, const ProgressCallback& progress = {});

} // namespace quorin::demo
