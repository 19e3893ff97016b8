#include "database/RegistryRules.h"

#include <string>
#include <utility>

namespace quorin {

namespace {

// Rows of a table of Quorin that refer to a row of another one. One problem per missing
// row referred to, however many rows refer to it.
struct Reference {
    const char* table;       // the referring rows (c)
    const char* description; // what is wrong, for the reader
    const char* parent;      // the table referred to (p)
    const char* key;         // the referring columns
    const char* match;       // finds the row referred to
    const char* named;       // names it, from the referring row
};

constexpr const char* kSubject = "'subject ' || c.SubjectId";
constexpr const char* kBySubject = "p.SubjectId = c.SubjectId";

// Call-log rows are left out: the Datasets report purges those of removed datasets.
constexpr Reference kReferences[] = {
    {"audpoints", "audiogram points without their audiogram", "aud", "c.TestId", "p.TestId = c.TestId",
     "'audiogram ' || c.TestId"},
    {"aud", "audiograms without their subject", "subjects", "c.SubjectId", kBySubject, kSubject},
    {"speech", "speech-language tests without their subject", "subjects", "c.SubjectId", kBySubject, kSubject},
    {"cidata", "implant history without its subject", "subjects", "c.SubjectId", kBySubject, kSubject},
    {"CiDevice", "implanted devices without their subject", "subjects", "c.SubjectId", kBySubject, kSubject},
    {"cispeech", "implant speech results without their subject", "subjects", "c.SubjectId", kBySubject, kSubject},
    {"participationhistory", "study participation without its dataset", "dataset", "c.Dataset, c.Irb",
     "p.Dataset = c.Dataset AND p.Irb = c.Irb", "'dataset \"' || c.Dataset || '\" under ' || c.Irb"},
    {"requesthistory", "dataset requests without their dataset", "dataset", "c.Title, c.Irb",
     "p.Dataset = c.Title AND p.Irb = c.Irb", "'dataset \"' || c.Title || '\" under ' || c.Irb"},
    {"release", "dataset releases without their dataset", "dataset", "c.Title, c.Irb",
     "p.Dataset = c.Title AND p.Irb = c.Irb", "'dataset \"' || c.Title || '\" under ' || c.Irb"},
};

// "audiogram points without their audiogram: audiogram 123 is missing (4 rows in audpoints)"
dalport::ServerRule referenceRule(const Reference& r)
{
    return {r.description,
            std::string("SELECT ") + r.named + " || ' is missing (' || count(*) || "
                + "CASE count(*) WHEN 1 THEN ' row' ELSE ' rows' END || ' in " + r.table + ")' FROM Quorin.\""
                + r.table + "\" AS c WHERE NOT EXISTS (SELECT 1 FROM Quorin.\"" + r.parent + "\" AS p WHERE "
                + r.match + ") GROUP BY " + r.key + " ORDER BY " + r.key};
}

// Staff members whose user name has a login. Server administrators pass every check of
// the engine and need no user (the demo's administrator has none), so they are left out.
constexpr const char* kStaffWithLogin =
    " FROM Quorin.pers AS m JOIN master.logins AS l ON l.name = m.UserName AND l.is_admin = 0";
// "jsmith (Active)"
constexpr const char* kMember = "m.UserName || ' (' || CASE m.Status WHEN 0 THEN 'Active' WHEN 1 THEN 'Inactive' "
                                "WHEN 2 THEN 'Active - No Password' WHEN 3 THEN 'Administrator' "
                                "ELSE 'status ' || m.Status END || ')'";
// As uspUpdateAccount gives it; NULL for a status that gives neither role.
constexpr const char* kRoleOfStatus = "(CASE m.Status WHEN 0 THEN 'QuorinUser' WHEN 3 THEN 'QuorinAdmin' END)";

std::string hasUser(const std::string& database)
{
    return "EXISTS (SELECT 1 FROM " + database
           + ".sys_database_principals AS u WHERE u.name = m.UserName AND u.type = 'S')";
}

// The user, the role of the status, and no other of the registry's two roles, in one
// database. A member without the user is told once, not again for the role.
std::vector<dalport::ServerRule> staffRules(const std::string& database)
{
    return {
        {"staff members with a login but no user in " + database,
         std::string("SELECT ") + kMember + kStaffWithLogin + " WHERE NOT " + hasUser(database) + " ORDER BY m.UserName"},
        {"staff members without the role of their status in " + database,
         std::string("SELECT ") + kMember + " || ' is not in ' || " + kRoleOfStatus + kStaffWithLogin + " WHERE "
             + kRoleOfStatus + " IS NOT NULL AND " + hasUser(database) + " AND NOT EXISTS (SELECT 1 FROM " + database
             + ".sys_role_members AS r WHERE r.member = m.UserName AND r.role = " + kRoleOfStatus
             + ") ORDER BY m.UserName"},
        {"staff members in a role their status does not give in " + database,
         std::string("SELECT ") + kMember + " || ' is in ' || r.role" + kStaffWithLogin + " JOIN " + database
             + ".sys_role_members AS r ON r.member = m.UserName WHERE r.role IN ('QuorinUser', 'QuorinAdmin')"
             + " AND r.role IS NOT " + kRoleOfStatus + " ORDER BY m.UserName, r.role"},
    };
}

} // namespace

std::vector<dalport::ServerRule> registryRules()
{
    std::vector<dalport::ServerRule> rules;
    for (const Reference& reference : kReferences)
        rules.push_back(referenceRule(reference));
    for (const char* database : {"Quorin", "Aud", "CID"})
        for (dalport::ServerRule& rule : staffRules(database))
            rules.push_back(std::move(rule));
    return rules;
}

} // namespace quorin
