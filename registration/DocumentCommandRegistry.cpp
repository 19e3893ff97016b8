#include "registration/DocumentCommandRegistry.h"

namespace quorin {
namespace {
std::map<unsigned, DocumentCommand>& Commands()
{
    static std::map<unsigned, DocumentCommand> commands;
    return commands;
}
} // namespace

void RegisterDocumentCommand(unsigned id, DocumentCommand command)
{
    Commands()[id] = std::move(command);
}

const std::map<unsigned, DocumentCommand>& RegisteredDocumentCommands()
{
    return Commands();
}

} // namespace quorin
