#include "database/ContractTable.h"

#include <algorithm>
#include <cctype>
#include <fstream>
#include <sstream>
#include <stdexcept>

namespace quorin::test {

namespace {

std::vector<std::string> split(const std::string& text, char separator)
{
    std::vector<std::string> parts;
    std::stringstream in(text);
    std::string part;
    while (std::getline(in, part, separator))
        parts.push_back(part);
    return parts;
}

// The word at `at` after any blanks; `at` ends past it.
std::string wordAt(const std::string& text, std::size_t& at)
{
    while (at < text.size() && std::isspace(static_cast<unsigned char>(text[at])))
        ++at;
    const std::size_t start = at;
    while (at < text.size() && (std::isalnum(static_cast<unsigned char>(text[at])) || text[at] == '_'))
        ++at;
    return text.substr(start, at - start);
}

std::string bindKind(const std::string& declaredType)
{
    const std::string t = lowerCase(declaredType);
    if (t == "int")
        return "int";
    if (t == "float" || t == "real")
        return "float";
    return "text";
}

} // namespace

std::string lowerCase(std::string text)
{
    std::transform(text.begin(), text.end(), text.begin(), [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return text;
}

std::string readSourceFile(const std::string& path)
{
    std::ifstream in(std::string(QUORIN_DATABASE_DIR) + "/" + path, std::ios::binary);
    if (!in)
        throw std::runtime_error("cannot read database/" + path);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

std::vector<ContractProcedure> loadContract()
{
    std::vector<ContractProcedure> contract;
    std::stringstream in(readSourceFile("contract.tsv"));
    std::string line;
    while (std::getline(in, line)) {
        if (line.empty() || line[0] == '#')
            continue;
        const auto fields = split(line, '\t');
        ContractProcedure p;
        p.name = fields.at(0);
        if (fields.size() > 1)
            for (const auto& param : split(fields[1], ',')) {
                const auto colon = param.find(':');
                std::string name = param.substr(0, colon);
                const bool atSign = !name.empty() && name[0] == '@';
                if (atSign)
                    name.erase(0, 1);
                p.parameters.push_back({name, param.substr(colon + 1), atSign});
            }
        if (fields.size() > 2)
            p.columns = split(fields[2], ',');
        contract.push_back(std::move(p));
    }
    return contract;
}

std::vector<DeclaredProcedure> parseProcedures(const std::string& script)
{
    // CREATE PROCEDURE [dbo.]name <parameters> [WITH ...] AS <body up to the next GO or the end>
    const std::string lower = lowerCase(script);
    std::vector<DeclaredProcedure> procedures;
    for (auto at = lower.find("create procedure "); at != std::string::npos; at = lower.find("create procedure ", at)) {
        at += 17;
        DeclaredProcedure p;
        p.name = wordAt(script, at);
        if (lowerCase(p.name) == "dbo" && at < script.size() && script[at] == '.') {
            ++at;
            p.name = wordAt(script, at);
        }
        const auto as = lower.find("\nas\n", at);
        if (as == std::string::npos)
            break;
        std::string params = script.substr(at, as - at);
        if (const auto with = lowerCase(params).find("\nwith "); with != std::string::npos)
            params.erase(with);
        for (auto sign = params.find('@'); sign != std::string::npos; sign = params.find('@', sign)) {
            std::size_t pos = sign + 1;
            const std::string name = wordAt(params, pos);
            const std::string type = wordAt(params, pos);
            p.parameters.push_back({name, bindKind(type), true});
            p.declaredTypes.push_back(lowerCase(type));
            sign = pos;
        }
        const std::size_t bodyStart = as + 4;
        auto bodyEnd = script.find("\nGO\n", bodyStart);
        if (bodyEnd == std::string::npos)
            bodyEnd = script.size();
        p.body = script.substr(bodyStart, bodyEnd - bodyStart);
        procedures.push_back(std::move(p));
        at = bodyEnd;
    }
    return procedures;
}

} // namespace quorin::test
