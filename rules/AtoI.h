#pragma once
// The program's one reading of a typed whole number where C's atoi always read it.

#include <QString>

namespace quorin {

// C's atoi on a text: leading blanks, an optional sign, the digits that follow; 0 when
// there are none. Out-of-range values saturate instead of overflowing.
int AtoI(const QString& s);

} // namespace quorin
