#pragma once
// The session speaks UTF-8 std::string; records hold QString. Conversion happens here.

#include <QString>
#include <string>

namespace quorin {

inline std::string ToDb(const QString& s) { return s.toStdString(); }
inline QString FromDb(const std::string& s) { return QString::fromStdString(s); }

// C's atoi on a text: leading blanks, an optional sign, the digits that follow; 0 when
// there are none. Out-of-range values saturate instead of overflowing.
int AtoI(const QString& s);

} // namespace quorin

#include "dalport/MyADO.h"

namespace quorin {

// Reads and binds of the session in QString terms.
inline QString StringField(MyADO& db, const char* column) { return FromDb(db.GetStringField(column)); }
inline void BindString(MyADO& db, const char* name, const QString& value) { db.BindStringParam(name, ToDb(value)); }
inline int RunText(MyADO& db, const QString& sql) { return db.RunTextQuery(ToDb(sql).c_str()); }

// True when the statement just run succeeded and its result has a current row.
inline bool HasRow(MyADO& db, int ran) { return ran && !db.IsEOF(); }

} // namespace quorin
