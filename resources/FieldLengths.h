#pragma once
// How many characters each dialog and form field takes: the length of the registry
// column it is saved into (from the schema, generated at build time), or the program's
// own limit where that is smaller. One table for every template; the templates' fields
// get their limits from it when they are registered.

#include "framework/DialogTemplate.h"

#include <string_view>
#include <vector>

namespace res {

struct FieldLength {
    int templateId;
    int controlId;
    std::string_view table;  // the registry column the field is saved into
    std::string_view column;
    int length;              // the smaller of the column's length and the program's limit
};

// Defined by the application, which knows every subsystem's templates.
const std::vector<FieldLength>& FieldLengths();

// The field's length from the table; 0 for a field the table does not name.
int FieldLengthOf(int templateId, int controlId);

// Sets maxLength on every control of the template the table names.
void ApplyFieldLengths(framework::DialogTemplate& dialogTemplate);

// RegisterDialogTemplate with the table's lengths applied.
void RegisterWithFieldLengths(framework::DialogTemplate dialogTemplate);

} // namespace res
