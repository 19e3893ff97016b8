#pragma once
// Reads and binds of the session in QString terms.

#include "dalport/MyADO.h"
#include "rules/DbString.h"

namespace quorin {

inline QString StringField(MyADO& db, const char* column) { return FromDb(db.GetStringField(column)); }
inline void BindString(MyADO& db, const char* name, const QString& value) { db.BindStringParam(name, ToDb(value)); }
inline int RunText(MyADO& db, const QString& sql) { return db.RunTextQuery(ToDb(sql).c_str()); }

// True when the statement just run succeeded and its result has a current row.
inline bool HasRow(MyADO& db, int ran) { return ran && !db.IsEOF(); }

} // namespace quorin
