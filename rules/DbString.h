#pragma once
// The session speaks UTF-8 std::string; records hold QString. Conversion happens here.

#include <QString>
#include <string>

namespace quorin {

inline std::string ToDb(const QString& s) { return s.toStdString(); }
inline QString FromDb(const std::string& s) { return QString::fromStdString(s); }

} // namespace quorin
