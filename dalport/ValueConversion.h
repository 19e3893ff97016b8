#pragma once
// Conversions of a field value to the type a caller asks for, with the rules of the
// platform's variant conversion (default locale, no flags): numbers print with up to
// 15 significant digits, texts convert to numbers when they read as one, reals round
// half to even, a NULL converts to nothing (Type mismatch).

#include "dalport/ComError.h"
#include "dalport/Value.h"

#include <string>

namespace dalport {

std::string toText(const Value& v);   // throws ComError(TypeMismatch) for NULL
int toInt(const Value& v);            // throws TypeMismatch or Overflow
float toFloat(const Value& v);        // throws TypeMismatch or Overflow

// "YYYY-MM-DD[ HH:MM:SS[.fff]]" as the platform shows a date: "3/7/2009" or
// "3/7/2009 2:05:09 PM".
std::string isoToDisplayDate(const std::string& iso);

} // namespace dalport
