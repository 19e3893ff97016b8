#include "framework/TemplateRegistry.h"

#include <map>

namespace framework {
namespace {
std::map<int, DialogTemplate>& Templates()
{
    static std::map<int, DialogTemplate> templates;
    return templates;
}
} // namespace

void RegisterDialogTemplate(DialogTemplate dialogTemplate)
{
    const int id = dialogTemplate.id;
    Templates()[id] = std::move(dialogTemplate);
}

const DialogTemplate* FindDialogTemplate(int id)
{
    const auto found = Templates().find(id);
    return found == Templates().end() ? nullptr : &found->second;
}

std::vector<int> DialogTemplateIds()
{
    std::vector<int> ids;
    for (const auto& entry : Templates())
        ids.push_back(entry.first);
    return ids;
}

} // namespace framework
