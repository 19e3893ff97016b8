#include "dalport/embedded/Translator.h"

#include "dalport/embedded/NameResolver.h"
#include "dalport/embedded/SqlEmitter.h"
#include "dalport/embedded/SqlQuoting.h"
#include "dalport/embedded/StatementParser.h"

namespace dalport::embedded {

using Kind = Token::Kind;

namespace {

std::shared_ptr<const Plan> planOf(const std::vector<Token>& tokens, std::pair<std::size_t, std::size_t> range,
                                   std::string_view text, const Catalog& catalog)
{
    ParsedStatement statement = parseStatement(tokens, range.first, range.second, text);
    resolveStatement(statement, catalog);
    std::shared_ptr<Plan> plan = emitStatement(statement);
    if (plan->kind == Plan::Kind::Ddl)
        plan->sql = rewriteObjectNames(plan->sql, catalog);
    return plan;
}

} // namespace

std::shared_ptr<const Plan> translate(std::string_view text, const Catalog& catalog)
{
    const std::vector<Token> tokens = tokenize(text);
    const auto ranges = splitBatch(tokens);
    if (ranges.size() == 1)
        return planOf(tokens, ranges.front(), text, catalog);
    auto batch = std::make_shared<Plan>();
    batch->kind = Plan::Kind::Batch;
    for (const auto& range : ranges)
        batch->parts.push_back(planOf(tokens, range, text, catalog));
    return batch;
}

std::string rewriteObjectNames(std::string_view sqliteText, const Catalog& catalog)
{
    const std::vector<Token> t = tokenize(sqliteText);
    std::string out;
    std::size_t copied = 0;
    for (std::size_t i = 0; i + 1 < t.size(); ++i) {
        if (t[i].kind != Kind::Word && t[i].kind != Kind::Quoted)
            continue;
        if (i > 0 && t[i - 1].isSymbol("."))
            continue;
        // db.dbo.name or db..name
        if (i + 3 < t.size() && t[i + 1].isSymbol(".") && (t[i + 2].isWord("dbo") && t[i + 3].isSymbol("."))) {
            const std::string schema = catalog.schemaFor(t[i].value);
            if (!schema.empty()) {
                out.append(sqliteText.substr(copied, t[i].begin - copied));
                out += quoteName(schema);
                copied = t[i + 2].end; // keeps the '.' that follows dbo
                i += 2;
                continue;
            }
        }
        if (i + 2 < t.size() && t[i + 1].isSymbol(".") && t[i + 2].isSymbol(".")) {
            const std::string schema = catalog.schemaFor(t[i].value);
            if (!schema.empty()) {
                out.append(sqliteText.substr(copied, t[i].begin - copied));
                out += quoteName(schema);
                copied = t[i + 1].end; // keeps the second '.'
                i += 1;
                continue;
            }
        }
        if (t[i].isWord("dbo") && i + 1 < t.size() && t[i + 1].isSymbol(".")) {
            out.append(sqliteText.substr(copied, t[i].begin - copied));
            copied = t[i + 1].end;
            ++i;
        }
    }
    out.append(sqliteText.substr(copied));
    return out;
}

} // namespace dalport::embedded
