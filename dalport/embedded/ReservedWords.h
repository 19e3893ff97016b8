#pragma once
// SQL Server's reserved keywords: used as a name they must be bracketed ([user]), else
// the statement is refused with Msg 156.

#include <string_view>

namespace dalport::embedded {

bool isReservedWord(std::string_view word);

} // namespace dalport::embedded
