#pragma once
// What a row of the change history changed, in the words the forms use: the table as
// what it holds and the column by its field's label ("Subject: Last Name"). A field of
// one ear (TympL, SRTSF) reads as the field and the ear ("Audiogram: Tymp left").

#include <QString>

namespace quorin {

// An insert reads "<table>: added"; an update "<table>: <field>"; a delete, one row per
// column that held a value, "<table>: <field> removed" ("<table>: removed" without a
// column). A column the table's words do not know reads "table.column"; a table they do
// not know keeps its name.
QString ChangeWhat(const QString& table, const QString& column, const QString& kind);

} // namespace quorin
