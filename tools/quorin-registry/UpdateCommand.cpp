// quorin-registry update: Tools > Update as a nightly job.

#include "tools/quorin-registry/Commands.h"

#include "document/CQuorinDoc.h"
#include "audiograms/store/ToolsUpdate.h"
#include "tools/quorin-registry/ConsoleUserInterface.h"
#include "tools/quorin-registry/NightlyRun.h"

#include <iostream>

namespace quorin::tools {

namespace {

int runUpdate(const ParsedCommandLine& cmd)
{
    return runNightlyJob(cmd, "update", [](CQuorinDoc& document, const NightlyLogin& login, ConsoleUserInterface& ui) {
        // As if the command's question had been answered Yes; no subject is open, so nothing
        // asks to be saved.
        const std::optional<ToolsUpdateResult> result = RunToolsUpdate(document, login.dryRun);
        if (!result || !result->run.ran)
            return kExitNotStarted; // Aud or the registry's lists could not be read (said so)

        int withoutKv = 0;
        for (const BulkSkip& skip : result->run.others)
            if (skip.reason == QLatin1String(kReasonNoKv))
                ++withoutKv;
        NightlySummary summary;
        summary.head = {{"Checked", std::to_string(result->run.candidates - withoutKv) + " subjects with a KV Number"},
                        {"Newer tests", std::to_string(result->newer.size())}};
        // Said only when there was something to say, so the summary of a sound run is as before.
        if (result->statusSent > 0 || result->statusFailed)
            summary.head.push_back({"Status sent", result->statusFailed ? std::string("failed")
                                                                        : std::to_string(result->statusSent)});
        summary.notFailures = {QString::fromLatin1(kReasonNoNewerTest), QString::fromLatin1(kReasonDryRun)};
        summary.failures = {QString::fromLatin1(kReasonAudReadFailed)};
        summary.failed = result->allReadsFailed || result->statusFailed;
        for (const AmNewerTest& newer : result->newer) {
            if (login.dryRun)
                summary.dryRunList.push_back(std::to_string(newer.SubjectId) + " " + newer.Unit.toStdString() + " "
                                             + newer.RegistryDate.toStdString() + " " + newer.ClinicDate.toStdString());
            else
                summary.takenUp.insert(newer.SubjectId);
        }
        return printSummary(std::cout, document, result->run, summary, ui);
    });
}

} // namespace

Command updateCommand()
{
    return Command{"update",
                   kNightlyArguments,
                   "Tools > Update without a window: every subject whose clinic has a newer test gets it;\n"
                   "  a summary on standard output",
                   nightlyOptions(),
                   &runUpdate,
                   kExitNotStarted};
}

} // namespace quorin::tools
