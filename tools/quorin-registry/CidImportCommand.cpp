// quorin-registry cid-import: Tools > CID Import as a nightly job.

#include "tools/quorin-registry/Commands.h"

#include "document/CQuorinDoc.h"
#include "implants/store/CidImportJob.h"
#include "tools/quorin-registry/ConsoleUserInterface.h"
#include "tools/quorin-registry/NightlyRun.h"

#include <iostream>

namespace quorin::tools {

namespace {

int runCidImport(const ParsedCommandLine& cmd)
{
    return runNightlyJob(cmd, "cid-import", [](CQuorinDoc& document, const NightlyLogin& login, ConsoleUserInterface& ui) {
        // As if "Update Subject records from Cochlear Implant Database?" had been answered
        // Yes; no subject is open, so nothing asks to be saved.
        const std::optional<CidImportResult> result = RunCidImportJob(document, login.dryRun);
        if (!result || !result->run.ran)
            return kExitNotStarted; // CID or the registry's list could not be read (said so)

        NightlySummary summary;
        summary.head = {{"Cochlear Implant subjects", std::to_string(result->run.candidates)},
                        {"Found in CID", std::to_string(result->found.size())}};
        summary.notFailures = {QString::fromLatin1(kReasonCidDryRun)};
        summary.failures = {QString::fromLatin1(kReasonCidReadFailed)};
        summary.failed = result->allReadsFailed;
        for (const CidFound& found : result->found) {
            if (login.dryRun)
                summary.dryRunList.push_back(std::to_string(found.SubjectId) + " " + found.Unit.toStdString() + " "
                                             + std::to_string(found.PatientId));
            else
                summary.takenUp.insert(found.SubjectId);
        }
        return printSummary(std::cout, document, result->run, summary, ui);
    });
}

} // namespace

Command cidImportCommand()
{
    return Command{"cid-import",
                   kNightlyArguments,
                   "Tools > CID Import without a window: every Cochlear Implant subject whose KV Number is\n"
                   "  exactly one CID patient gets that patient's implant data; a summary on standard output",
                   nightlyOptions(),
                   &runCidImport,
                   kExitNotStarted};
}

} // namespace quorin::tools
