#include "resources/StringTable.h"

#include "resources/CommandTable.h"
#include "resources/Resource.h"

#include <QStringList>

#include <map>

namespace res {
namespace {
const std::map<int, const char*>& Strings()
{
    static const std::map<int, const char*> strings = {
        {IDS_DOCUMENT, "Quorin\n\nQuorin\n\n\nQuorin.Document\nQuorin Document"},
        {IDS_APP_TITLE, "Quorin"},
        {ID_INDICATOR_CAPS, "CAP"},
        {ID_INDICATOR_NUM, "NUM"},
        {ID_INDICATOR_SCRL, "SCRL"},
        {57345, "Ready"}, // the idle message of the status bar
    };
    return strings;
}
} // namespace

QString StringResource(int id)
{
    const auto found = Strings().find(id);
    if (found != Strings().end())
        return QString::fromUtf8(found->second);
    // A command's string is its status text and tool tip, as the menus prompt them.
    if (const CommandInfo* command = FindCommand(static_cast<unsigned>(id)))
        return QString::fromUtf8(command->statusText) + QLatin1Char('\n') + QString::fromUtf8(command->toolTip);
    return QString();
}

QString DocumentStringField(int index)
{
    return StringResource(IDS_DOCUMENT).split(QLatin1Char('\n')).value(index);
}

} // namespace res
