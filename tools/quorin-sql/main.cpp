// quorin-sql: runs T-SQL against a server through MyADO and prints the rows, as sqlcmd
// does. An empty or path-like server name opens the embedded engine, anything else SQL
// Server through ODBC.

#include "database/RegistryScripts.h"
#include "dalport/Clock.h"
#include "dalport/ErrorReporter.h"
#include "tools/common/CommandLine.h"
#include "tools/common/PasswordPrompt.h"
#include "tools/common/ProviderErrors.h"
#include "tools/quorin-sql/SqlClient.h"

#include <cstdlib>
#include <fstream>
#include <iostream>
#include <sstream>

using namespace quorin::tools;

namespace {

const std::vector<Option> kOptions = {
    {"-S", true, "server: a registry folder (or empty for the default registry) or a SQL Server name"},
    {"-U", true, "login"},
    {"-P", true, "password (else $QUORIN_PASSWORD, else asked)"},
    {"-d", true, "database (default Quorin)"},
    {"-Q", true, "run this text and exit"},
    {"-i", true, "run the batches of this file (separated by GO lines)"},
    {"-h", true, "rows between column headers; -1 prints no headers"},
    {"-s", true, "column separator (one character; default a blank)"},
    {"-W", false, "remove trailing blanks (no padding of columns)"},
    {"-?", false, "show this help"},
    {"--help", false, "show this help"},
    {"--version", false, "show the program's version"},
};

void usage(std::ostream& out)
{
    out << "usage: quorin-sql [-S server] -U login [-P password] [-d database] [-h rows] [-s separator] [-W]\n"
        << "                  (-Q \"text\" | -i file)\n"
        << usageLines(kOptions);
}

} // namespace

int main(int argc, char** argv)
{
    quorin::UseRegistryProfile();
    ParsedCommandLine cmd;
    try {
        cmd = parseCommandLine(std::vector<std::string>(argv + 1, argv + argc), kOptions);
    } catch (const std::exception& e) {
        std::cerr << "quorin-sql: " << e.what() << "\n";
        usage(std::cerr);
        return 2;
    }
    if (cmd.has("-?") || cmd.has("--help")) {
        usage(std::cout);
        return 0;
    }
    if (cmd.has("--version")) {
        std::cout << "quorin-sql " << QUORIN_VERSION_TEXT << "\n";
        return 0;
    }
    if (const auto problem = dalport::ClockEnvironmentProblem()) {
        std::cerr << "quorin-sql: " << *problem << "\n";
        return 2;
    }
    PrintOptions printing;
    if (auto h = cmd.value("-h")) {
        int every = 0;
        try {
            std::size_t used = 0;
            every = std::stoi(*h, &used);
            if (used != h->size())
                throw std::invalid_argument(*h);
        } catch (const std::exception&) {
            every = 0;
        }
        if (every == 0 || every < -1) {
            std::cerr << "quorin-sql: -h takes -1 (no headers) or a number of rows from 1 up, not \"" << *h << "\".\n";
            return 2;
        }
        printing.headerEvery = every;
    }
    if (auto sep = cmd.value("-s")) {
        if (sep->size() != 1) {
            std::cerr << "quorin-sql: -s takes one character, not \"" << *sep << "\".\n";
            return 2;
        }
        printing.separator = *sep;
    }
    printing.trimSpaces = cmd.has("-W");
    if (!cmd.has("-U") || cmd.has("-Q") == cmd.has("-i") || !cmd.positional.empty()) {
        usage(std::cerr);
        return 2;
    }
    const std::string server = cmd.value("-S").value_or("");
    const std::string login = *cmd.value("-U");
    const std::string database = cmd.value("-d").value_or("Quorin");
    std::string password;
    if (auto p = cmd.value("-P")) {
        password = *p;
    } else if (const char* env = std::getenv("QUORIN_PASSWORD")) {
        password = env;
    } else if (auto typed = promptPassword("Password: ")) {
        password = *typed;
    } else {
        return 2;
    }

    std::vector<std::string> batches;
    if (auto q = cmd.value("-Q")) {
        batches.push_back(*q);
    } else {
        std::ifstream in(*cmd.value("-i"));
        if (!in) {
            std::cerr << "quorin-sql: cannot read " << *cmd.value("-i") << "\n";
            return 2;
        }
        std::stringstream text;
        text << in.rdbuf();
        batches = SqlClient::splitBatches(text.str());
    }

    // Errors print as sqlcmd prints them; the session's closing box only when the
    // server said nothing itself.
    bool providerSpoke = false;
    auto printMsg = [&](long number, int level, int state, const std::string& message) {
        printProviderMessage(std::cout, server, number, level, state, message);
    };
    dalport::SetErrorReporter([&](const dalport::ReportedError& e) {
        if (e.kind == dalport::ReportedError::Kind::Provider) {
            providerSpoke = true;
            printMsg(e.number, e.level, e.state, e.message);
        } else if (!providerSpoke) {
            std::cout << e.text << "\n";
        }
    });

    SqlClient client;
    if (!client.SetDataSource(server.c_str(), login.c_str(), password.c_str(), database.c_str())) {
        const auto errors = client.connectionErrors();
        for (const dalport::ReportedError& e : errors)
            printMsg(e.number, e.level, e.state, e.message);
        if (!errors.empty())
            return 1;
        std::cerr << "quorin-sql: cannot connect to database " << database << " on "
                  << (server.empty() ? "the default registry" : server) << " as " << login
                  << " (wrong login or password, or no access to the database).\n";
        return 1;
    }
    bool allOk = true;
    for (const std::string& batch : batches) {
        providerSpoke = false;
        allOk = client.runBatch(batch, std::cout, printing) && allOk;
    }
    std::cout.flush();
    return allOk ? 0 : 1;
}
