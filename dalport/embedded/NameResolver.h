#pragma once
// Binds every name of a statement tree to one table and column of its scope, as SQL
// Server binds them, and gives every expression its type. Subqueries see the names of
// the queries around them; ORDER BY also sees the select list's aliases.
//
// Refuses what SQL Server refuses: 207 (no such column), 209 (a column of two tables),
// 4104 (a qualifier that names no table of the statement), 208 (no such table), 911 (no
// such database) and 156 (a reserved word used as a name without brackets).

#include "dalport/embedded/Catalog.h"
#include "dalport/embedded/SyntaxTree.h"

namespace dalport::embedded {

// Resolves `statement` in place; throws EngineError.
void resolveStatement(ParsedStatement& statement, const Catalog& catalog);

// How a column of `type` is typed in expressions.
ValueType valueTypeOf(ColumnType type);

} // namespace dalport::embedded
