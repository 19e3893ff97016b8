#include "subjects/store/SubjectIdentity.h"

#include "document/CQuorinDoc.h"

namespace quorin {

bool CheckSubjectIdentity(CQuorinDoc& doc)
{
    const CSubject& s = doc.m_subject;
    const bool noUnit = s.Unit.isEmpty() || s.Unit == QLatin1String("0");
    const bool nameIncomplete = s.Lastname.isEmpty() || s.Firstname.isEmpty() || s.Birth.isEmpty();
    if (!(noUnit && nameIncomplete))
        return true;
    doc.UI().BringForward(UserInterface::Page::Subject);
    doc.UI().MessageBox(QStringLiteral("You must enter either a KV Number, or Last Name, First Name, and Birth Date!"),
                        UserInterface::Icon::Stop);
    return false;
}

} // namespace quorin
