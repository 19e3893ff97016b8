// quorin-registry: creates, fills, backs up, restores and checks servers of the embedded
// engine, and shows a registry's change history.
//   quorin-registry create <folder> --admin <name> [--password-file F]
//   quorin-registry create --demo [<folder>] [--size N]
//   quorin-registry update | cid-import [-S server] -U login [-P password | --password-file F] [--dry-run]
//   quorin-registry backup [-S server] --to <folder> [--keep N]
//   quorin-registry restore --from <backup file> --to <folder> [--force]
//   quorin-registry check [-S server]
//   quorin-registry history [-S server] -U login [-P password | --password-file F] [--subject N] [--user NAME]
//                           [--since M/D/YYYY] [--csv]

#include "dalport/Clock.h"
#include "database/RegistryScripts.h"
#include "tools/quorin-registry/Commands.h"

#include <iostream>
#include <stdexcept>

using namespace quorin::tools;

namespace {

std::vector<Command> commands()
{
    return {createCommand(), cidImportCommand(), updateCommand(), backupCommand(), restoreCommand(), checkCommand(),
            historyCommand()};
}

void usage(std::ostream& out)
{
    out << "usage: quorin-registry <command> ...\n";
    for (const Command& c : commands())
        out << "\n" << c.name << " " << c.arguments << "\n  " << c.summary << "\n" << usageLines(c.options);
}

} // namespace

int main(int argc, char** argv)
{
    quorin::UseRegistryProfile();
    if (const auto problem = dalport::ClockEnvironmentProblem()) {
        std::cerr << "quorin-registry: " << *problem << "\n";
        return 2;
    }
    if (argc < 2) {
        usage(std::cerr);
        return 2;
    }
    const std::string name = argv[1];
    if (name == "-h" || name == "--help") {
        usage(std::cout);
        return 0;
    }
    if (name == "--version") {
        std::cout << "quorin-registry " << QUORIN_VERSION_TEXT << "\n";
        return 0;
    }
    for (const Command& c : commands()) {
        if (c.name != name)
            continue;
        try {
            return c.run(parseCommandLine(std::vector<std::string>(argv + 2, argv + argc), c.options));
        } catch (const std::exception& e) {
            std::cerr << "quorin-registry " << name << ": " << e.what() << "\n";
            return c.errorStatus;
        }
    }
    std::cerr << "quorin-registry: unknown command " << name << "\n";
    usage(std::cerr);
    return 2;
}
