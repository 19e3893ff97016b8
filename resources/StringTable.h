#pragma once
// The string table: the document string, the application title and the texts the
// program shows, by id.

#include <QString>

namespace res {

// "" when the id has no string. (Not named LoadString: that is a macro on one platform.)
QString StringResource(int id);

// The document string is split at "\n" into fields; index 0 is the window title.
QString DocumentStringField(int index);

} // namespace res
