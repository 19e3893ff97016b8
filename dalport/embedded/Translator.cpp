#include "dalport/embedded/Translator.h"

#include "dalport/embedded/NameResolver.h"
#include "dalport/embedded/SqlEmitter.h"
#include "dalport/embedded/SqlQuoting.h"
#include "dalport/embedded/StatementParser.h"

#include <algorithm>

namespace dalport::embedded {

using Kind = Token::Kind;

namespace {

std::shared_ptr<const Plan> planOf(const std::vector<Token>& tokens, std::pair<std::size_t, std::size_t> range,
                                   std::string_view text, const Catalog& catalog, LiteralLifting* lifting)
{
    ParsedStatement statement = parseStatement(tokens, range.first, range.second, text);
    resolveStatement(statement, catalog);
    std::shared_ptr<Plan> plan = emitStatement(statement, lifting);
    if (plan->kind == Plan::Kind::Ddl)
        plan->sql = rewriteObjectNames(plan->sql, catalog);
    return plan;
}

std::shared_ptr<const Plan> planOfText(std::string_view text, const Catalog& catalog, LiteralLifting* lifting)
{
    const std::vector<Token> tokens = tokenize(text);
    const auto ranges = splitBatch(tokens);
    if (ranges.size() == 1)
        return planOf(tokens, ranges.front(), text, catalog, lifting);
    auto batch = std::make_shared<Plan>();
    batch->kind = Plan::Kind::Batch;
    for (const auto& range : ranges)
        batch->parts.push_back(planOf(tokens, range, text, catalog, lifting));
    return batch;
}

// Every literal of the plan's nodes that is bound.
void collectBound(const Plan& plan, std::vector<bool>& bound)
{
    for (const LiteralUse& use : plan.literals)
        if (use.literal >= 0 && static_cast<std::size_t>(use.literal) < bound.size())
            bound[static_cast<std::size_t>(use.literal)] = true;
    if (plan.then)
        collectBound(*plan.then, bound);
    for (const auto& part : plan.parts)
        collectBound(*part, bound);
}

} // namespace

std::shared_ptr<const Plan> translate(std::string_view text, const Catalog& catalog)
{
    return planOfText(text, catalog, nullptr);
}

LiftedTranslation translateLifted(std::string_view text, const Catalog& catalog)
{
    LiteralLifting lifting;
    LiftedTranslation out;
    out.plan = planOfText(text, catalog, &lifting);
    // A literal is kept written unless a node binds it and none writes it: read as
    // TOP n, a style, an EXEC argument or a statement passed through whole, it is
    // neither.
    int literals = 0;
    for (const Token& t : tokenize(text))
        literals = std::max(literals, t.literal + 1);
    std::vector<bool> bound(static_cast<std::size_t>(literals), false);
    collectBound(*out.plan, bound);
    for (int w : lifting.written)
        if (w >= 0 && w < literals)
            bound[static_cast<std::size_t>(w)] = false;
    for (int i = 0; i < literals; ++i)
        if (!bound[static_cast<std::size_t>(i)])
            out.written.push_back(i);
    return out;
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
