#pragma once
// Statement shapes. A T-SQL text with its literals lifted out is the shape of every text
// that differs from it only in the values it carries; such texts share one translation
// and one prepared statement, as SQL Server's parameterization shares one plan. Which
// literals a plan binds, and which it keeps written because its meaning depends on them,
// the translation decides (SqlEmitter); this reads the literals out of a text and turns
// them into the values a plan binds.

#include "dalport/Value.h"
#include "dalport/embedded/Plan.h"

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace dalport::embedded {

struct Literal {
    enum class Kind { Text, WholeNumber, RealNumber };
    Kind kind = Kind::Text;
    std::string text; // a text with '' undone, or a number as written
};

struct LiftedText {
    std::string shape;             // the text with each literal replaced by a mark of its kind
    std::vector<Literal> literals; // in the order of the text
};

// Nothing when the text is only ever kept whole: it does not tokenize, it has ?
// parameters of its own, or a zero byte.
std::optional<LiftedText> liftLiterals(std::string_view text);

// A number literal SQLite reads as a 64-bit integer: no '.', no exponent, and in range.
bool wholeNumberLiteral(std::string_view text);

// The values of a statement's bound literals (those of every node of `plan`, at each
// node's firstValue), converted as their places convert them and in the order the
// translation converts them, so a value that does not convert fails with the translation's
// error (245, 241, 242). False when a value cannot be bound as the text would have it
// written (a whole number beyond 64 bits): the text is then translated as it stands.
bool boundValues(const Plan& plan, const std::vector<Literal>& literals, std::vector<Value>& values);

} // namespace dalport::embedded
