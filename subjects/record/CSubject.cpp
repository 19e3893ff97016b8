#include "subjects/record/CSubject.h"

void CSubject::Clear()
{
    // The member initialisers are the empty values.
    *this = CSubject{};
}
