#include "tools/common/CommandLine.h"

#include <stdexcept>

namespace quorin::tools {

std::optional<std::string> ParsedCommandLine::value(const std::string& name) const
{
    const auto it = options.find(name);
    return it == options.end() ? std::nullopt : std::optional<std::string>(it->second);
}

ParsedCommandLine parseCommandLine(const std::vector<std::string>& args, const std::vector<OptionSpec>& specs)
{
    ParsedCommandLine out;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& a = args[i];
        if (a.size() < 2 || a[0] != '-') {
            out.positional.push_back(a);
            continue;
        }
        const OptionSpec* spec = nullptr;
        for (const OptionSpec& s : specs)
            if (s.name == a)
                spec = &s;
        if (!spec)
            throw std::runtime_error("unknown option " + a);
        if (!spec->takesValue) {
            out.options[a] = "";
            continue;
        }
        if (i + 1 >= args.size())
            throw std::runtime_error("option " + a + " needs a value");
        out.options[a] = args[++i];
    }
    return out;
}

std::string usageLines(const std::vector<OptionSpec>& specs)
{
    std::string out;
    for (const OptionSpec& s : specs)
        out += "  " + s.name + (s.takesValue ? " <value>" : "") + "\t" + s.help + "\n";
    return out;
}

} // namespace quorin::tools
