#pragma once
// Menu commands of the document that a subsystem brings along (paging, imports, ...).
// A subsystem registers them once at start-up; the document's place in the command
// chain picks them up when it is made. A command registered here replaces one the shell
// has for the same id.

#include <functional>
#include <map>

class CQuorinDoc;

namespace quorin {

struct DocumentCommand {
    std::function<void(CQuorinDoc&)> run;
    // Optional update handler: the command is enabled when it returns true.
    std::function<bool(const CQuorinDoc&)> enabled;
};

void RegisterDocumentCommand(unsigned id, DocumentCommand command);
const std::map<unsigned, DocumentCommand>& RegisteredDocumentCommands();

} // namespace quorin
