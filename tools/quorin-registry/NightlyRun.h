#pragma once
// What quorin-registry's nightly jobs (update, cid-import) share: their options, the
// password, the login as the login dialog makes it, the summary on standard output and
// the exit status. The jobs themselves are the menu commands' own.
//
// Exit status: 0 when every subject the update phase took up was updated (nothing to do
// included); 1 when one failed there, a subject's clinic read failed in either phase,
// the run was cancelled or a question went unanswered; 2 when the run could not start (command line, password, login, the
// registry or the other database unreachable), with nothing changed.

#include "document/CBulkUpdate.h"
#include "tools/common/CommandLine.h"

#include <QString>
#include <functional>
#include <iosfwd>
#include <set>
#include <string>
#include <vector>

class CQuorinDoc;

namespace quorin::tools {

class ConsoleUserInterface;

inline constexpr int kExitDone = 0;
inline constexpr int kExitFailed = 1;
inline constexpr int kExitNotStarted = 2;

// -S, -U, -P, --password-file, --dry-run, and how the help shows them.
std::vector<Option> nightlyOptions();
inline constexpr const char* kNightlyArguments = "[-S server] -U login [-P password | --password-file F] [--dry-run]";

struct NightlyLogin {
    std::string server;
    std::string login;
    std::string password;
    bool dryRun = false;
};

// The login values from the command line; the password from -P, else the first line of
// --password-file, else QUORIN_PASSWORD, else asked on the terminal. Throws
// std::runtime_error (a failure to start) for a wrong command line or no password.
NightlyLogin readNightlyLogin(const ParsedCommandLine& cmd, const std::string& usage);

// Prints the session's errors to standard error in quorin-sql's form.
void reportErrorsOn(std::ostream& err, const std::string& server);

// Connects the document's registry session as the program does after its login dialog.
// False when the registry refused (said on standard error).
bool logIn(CQuorinDoc& document, const NightlyLogin& login);

// What every nightly job does first: reads the login from the command line, connects a
// document as the login dialog does with the console as its user interface, lets Ctrl+C
// cancel the run, then runs `job` and returns its exit status (kExitNotStarted when the
// login failed).
using NightlyJob = std::function<int(CQuorinDoc& document, const NightlyLogin& login, ConsoleUserInterface& ui)>;
// `command`: the job's command name, for the usage line of a wrong command line.
int runNightlyJob(const ParsedCommandLine& cmd, const std::string& command, const NightlyJob& job);

// The KV Number of each subject, read from the registry ("-" for none, "?" when it
// could not be read).
std::vector<QString> kvNumbers(CQuorinDoc& document, const std::vector<int>& subjectIds);

struct NightlySummary {
    // The job's own first lines: ("Checked", "<n> subjects with a KV Number"), ...
    std::vector<std::pair<std::string, std::string>> head;
    // A dry run's list, one subject a line (without the indent).
    std::vector<std::string> dryRunList;
    // Reasons that are no failure (up to date, dry run): such subjects are not listed.
    std::set<QString> notFailures;
    // The subjects the update phase took up.
    std::set<int> takenUp;
    // Reasons that fail the run wherever given: the clinic's read failed.
    std::set<QString> failures;
    // The job failed beyond its subjects (every read failed, a status not sent).
    bool failed = false;
};

// Prints the summary of a run on `out` and returns the exit status (0 or 1).
int printSummary(std::ostream& out, CQuorinDoc& document, const BulkResult& run, const NightlySummary& summary,
                 const ConsoleUserInterface& ui);

} // namespace quorin::tools
