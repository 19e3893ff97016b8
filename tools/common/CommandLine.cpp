#include "tools/common/CommandLine.h"

#include "dalport/Registry.h"

#include <stdexcept>

namespace quorin::tools {

std::optional<std::string> ParsedCommandLine::value(const std::string& name) const
{
    const auto it = options.find(name);
    return it == options.end() ? std::nullopt : std::optional<std::string>(it->second);
}

ParsedCommandLine parseCommandLine(const std::vector<std::string>& args, const std::vector<Option>& table)
{
    ParsedCommandLine out;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& a = args[i];
        if (a.size() < 2 || a[0] != '-') {
            out.positional.push_back(a);
            continue;
        }
        const Option* option = nullptr;
        for (const Option& s : table)
            if (s.name == a)
                option = &s;
        if (!option)
            throw std::runtime_error("unknown option " + a);
        if (!option->takesValue) {
            out.options[a] = "";
            continue;
        }
        if (i + 1 >= args.size())
            throw std::runtime_error("option " + a + " needs a value");
        out.options[a] = args[++i];
    }
    return out;
}

int positiveNumber(const ParsedCommandLine& cmd, const std::string& name, int absent, const std::string& what)
{
    const auto text = cmd.value(name);
    if (!text)
        return absent;
    std::size_t used = 0;
    int number = 0;
    try {
        number = std::stoi(*text, &used);
    } catch (const std::exception&) {
        used = 0;
    }
    if (used != text->size() || number < 1)
        throw std::runtime_error(name + " takes " + what + " (a whole number from 1 up), not '" + *text + "'");
    return number;
}

std::string usageLines(const std::vector<Option>& table)
{
    std::string out;
    for (const Option& s : table)
        out += "  " + s.name + (s.takesValue ? " <value>" : "") + "\t" + s.help + "\n";
    return out;
}

std::string registryFolderServer(const ParsedCommandLine& cmd, const std::string& instead)
{
    const std::string server = cmd.value("-S").value_or("");
    if (!dalport::IsEmbeddedServerName(server))
        throw std::runtime_error("'" + server + "' names a SQL Server (a registry folder is a path: /..., ./..., ~/...); "
                                 + instead);
    return server;
}

} // namespace quorin::tools
