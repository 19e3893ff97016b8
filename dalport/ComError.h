#pragma once
// The error an operation raises, as the data-access layer the program was designed on
// raises it: a status code with optional source and description.

#include "dalport/DalportExport.h"

#include <string>

namespace dalport {

namespace hr {
constexpr long Fail = static_cast<long>(0x80004005);          // provider failure
constexpr long TypeMismatch = static_cast<long>(0x80020005);  // DISP_E_TYPEMISMATCH
constexpr long ItemNotFound = static_cast<long>(0x800A0CC1);  // adErrItemNotFound
constexpr long NoCurrentRecord = static_cast<long>(0x800A0BCD); // adErrNoCurrentRecord
constexpr long ObjectClosed = static_cast<long>(0x800A0E78);  // adErrObjectClosed
constexpr long InvalidArgument = static_cast<long>(0x80070057); // E_INVALIDARG
} // namespace hr

class DALPORT_EXPORT ComError {
public:
    explicit ComError(long code, std::string source = {}, std::string description = {})
        : m_code(code), m_source(std::move(source)), m_description(std::move(description)) {}

    long Error() const { return m_code; }
    // The system's message for the code, or the documented fallback texts.
    std::string ErrorMessage() const;
    const std::string& Source() const { return m_source; }
    const std::string& Description() const { return m_description; }

private:
    long m_code;
    std::string m_source;
    std::string m_description;
};

namespace descr {
inline constexpr const char* ItemNotFound =
    "Item cannot be found in the collection corresponding to the requested name or ordinal.";
inline constexpr const char* NoCurrentRecord =
    "Either BOF or EOF is True, or the current record has been deleted. Requested operation requires a current record.";
inline constexpr const char* ObjectClosed = "Operation is not allowed when the object is closed.";
} // namespace descr

} // namespace dalport
