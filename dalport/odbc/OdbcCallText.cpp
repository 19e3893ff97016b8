#include "dalport/odbc/OdbcCallText.h"

namespace dalport::odbc {

std::string callText(const std::string& procedure, std::size_t parameterCount)
{
    std::string text = "{call " + procedure;
    if (parameterCount > 0) {
        text += '(';
        for (std::size_t i = 0; i < parameterCount; ++i)
            text += i == 0 ? "?" : ",?";
        text += ')';
    }
    text += '}';
    return text;
}

} // namespace dalport::odbc
