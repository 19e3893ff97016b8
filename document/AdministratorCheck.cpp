#include "document/AdministratorCheck.h"

#include "admin/record/StaffStatus.h"
#include "dalport/MyADO.h"
#include "document/CQuorinDoc.h"
#include "rules/DbString.h"

#include <map>
#include <utility>

namespace quorin {
namespace {

bool ReadIsAdministrator(const CQuorinDoc& document)
{
    MyADO session;
    if (!session.SetDataSource(ToDb(document.m_strServer).c_str(), ToDb(document.m_strUserName).c_str(),
                               ToDb(document.m_strPassword).c_str(), "Quorin"))
        return false;
    session.BindStringParam("@user", ToDb(document.m_strUserName));
    const bool administrator = session.RunStoredProcedure("uspLoadPersbyUsername") && !session.IsEOF()
                               && session.GetIntField("Status") == StaffAdministrator;
    session.RemoveParams();
    return administrator;
}

} // namespace

bool IsAdministrator(const CQuorinDoc& document)
{
    if (document.m_strUserName.isEmpty())
        return false; // not logged in yet
    static std::map<std::pair<QString, QString>, bool> known;
    const auto key = std::pair(document.m_strServer, document.m_strUserName);
    const auto found = known.find(key);
    if (found != known.end())
        return found->second;
    const bool administrator = ReadIsAdministrator(document);
    known[key] = administrator;
    return administrator;
}

} // namespace quorin
