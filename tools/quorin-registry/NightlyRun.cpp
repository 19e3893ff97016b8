#include "tools/quorin-registry/NightlyRun.h"

#include "document/CQuorinDoc.h"
#include "rules/DbString.h"
#include "document/SessionValues.h"
#include "dalport/ErrorReporter.h"
#include "tools/common/PasswordPrompt.h"
#include "tools/common/ProviderErrors.h"
#include "tools/quorin-registry/ConsoleUserInterface.h"

#include <cstdlib>
#include <iostream>
#include <map>
#include <ostream>
#include <stdexcept>

#include <unistd.h>

namespace quorin::tools {

std::vector<Option> nightlyOptions()
{
    return {
        {"-S", true, "server: a registry folder (empty: the default registry) or a SQL Server name"},
        {"-U", true, "login"},
        {"-P", true, "password (else --password-file, else $QUORIN_PASSWORD, else asked)"},
        {"--password-file", true, "read the password from the first line of this file"},
        {"--dry-run", false, "list the subjects that would be updated; write nothing"},
    };
}

NightlyLogin readNightlyLogin(const ParsedCommandLine& cmd, const std::string& usage)
{
    const std::optional<std::string> login = cmd.value("-U");
    if (!cmd.positional.empty() || !login || login->empty())
        throw std::runtime_error(usage);
    NightlyLogin out;
    out.server = cmd.value("-S").value_or("");
    out.login = *login;
    out.dryRun = cmd.has("--dry-run");
    if (auto p = cmd.value("-P")) {
        out.password = *p;
    } else if (auto file = cmd.value("--password-file")) {
        out.password = readPasswordFile(*file);
    } else if (const char* env = std::getenv("QUORIN_PASSWORD")) {
        out.password = env;
    } else if (auto typed = promptPassword("Password: ")) {
        out.password = *typed;
    } else {
        // A scheduled job has no one at the terminal: waiting would hang it.
        throw std::runtime_error("no password given (standard input has ended)");
    }
    return out;
}

void reportErrorsOn(std::ostream& err, const std::string& server)
{
    dalport::SetErrorReporter(providerErrorPrinter(err, server));
}

bool logIn(CQuorinDoc& document, const NightlyLogin& login)
{
    document.m_strServer = FromDb(login.server);
    document.m_strUserName = FromDb(login.login);
    document.m_strPassword = FromDb(login.password);
    // The document's session keeps the server's reasons to itself; a scheduled job's
    // mail should say whether the password, the login or the registry was wrong (a
    // full disk, a damaged file), in the server's words alone.
    struct Probe : MyADO {
        using MyADO::GetConnectionErrors;
    } probe;
    if (!probe.SetDataSource(login.server.c_str(), login.login.c_str(), login.password.c_str(), "Quorin")) {
        for (const dalport::ReportedError& e : probe.GetConnectionErrors())
            printProviderMessage(std::cerr, login.server, e.number, e.level, e.state, e.message);
        return false;
    }
    document.OnNewDocument();
    return document.m_db.IsConnected() != 0;
}

int runNightlyJob(const ParsedCommandLine& cmd, const std::string& command, const NightlyJob& job)
{
    const NightlyLogin login = readNightlyLogin(cmd, "usage: quorin-registry " + command + " " + kNightlyArguments);
    reportErrorsOn(std::cerr, login.server);
    ConsoleUserInterface ui(std::cerr, isatty(STDERR_FILENO) == 1);
    CQuorinDoc document(ui);
    if (!logIn(document, login))
        return kExitNotStarted;
    ConsoleUserInterface::CatchCancelSignals();
    return job(document, login, ui);
}

std::vector<QString> kvNumbers(CQuorinDoc& document, const std::vector<int>& subjectIds)
{
    std::map<int, QString> found;
    constexpr std::size_t kChunk = 500;
    for (std::size_t from = 0; from < subjectIds.size(); from += kChunk) {
        QStringList ids;
        for (std::size_t i = from; i < subjectIds.size() && i < from + kChunk; ++i)
            ids << QString::number(subjectIds[i]);
        MyADO& db = document.m_db;
        if (!RunText(db, QStringLiteral("Select SubjectId, Unit from subjects where SubjectId in (%1)")
                             .arg(ids.join(QLatin1Char(',')))))
            continue;
        for (; !db.IsEOF(); db.MoveNext()) {
            const int unit = db.GetIntField("Unit");
            found[db.GetIntField("SubjectId")] = unit == 0 ? QStringLiteral("-") : QString::number(unit);
        }
    }
    std::vector<QString> out;
    for (int id : subjectIds) {
        const auto it = found.find(id);
        out.push_back(it == found.end() ? QStringLiteral("?") : it->second);
    }
    return out;
}

int printSummary(std::ostream& out, CQuorinDoc& document, const BulkResult& run, const NightlySummary& summary,
                 const ConsoleUserInterface& ui)
{
    const QString notProcessed = QString::fromLatin1(kReasonNotProcessed);
    std::vector<BulkSkip> listed;
    int cancelledCount = 0;
    bool failed = summary.failed;
    for (const BulkSkip& skip : run.others) {
        if (skip.reason == notProcessed) {
            ++cancelledCount;
            continue;
        }
        if (summary.notFailures.count(skip.reason))
            continue;
        listed.push_back(skip);
        if (summary.takenUp.count(skip.subjectId) || summary.failures.count(skip.reason))
            failed = true;
    }
    std::vector<int> ids;
    for (const BulkSkip& skip : listed)
        ids.push_back(skip.subjectId);
    const std::vector<QString> units = kvNumbers(document, ids);

    for (const auto& [title, value] : summary.head)
        out << title << ": " << value << "\n";
    for (const std::string& line : summary.dryRunList)
        out << "  " << line << "\n";
    out << "Not updated: " << listed.size() << "\n";
    for (std::size_t i = 0; i < listed.size(); ++i)
        out << "  " << listed[i].subjectId << " " << units[i].toStdString() << " " << listed[i].reason.toStdString()
            << "\n";
    if (run.cancelled)
        out << "Cancelled: " << cancelledCount << " not processed\n";
    out << "Updated " << run.Count() << " records!\n" << std::flush;
    return failed || run.cancelled || ui.Unanswered() > 0 ? kExitFailed : kExitDone;
}

} // namespace quorin::tools
