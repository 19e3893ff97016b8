#include "document/SessionTransaction.h"

#include "dalport/MyADO.h"

namespace quorin {

SessionTransaction::SessionTransaction(MyADO& db) : m_db(db)
{
    m_open = m_db.RunTextQuery("BEGIN TRANSACTION") != 0;
}

SessionTransaction::~SessionTransaction()
{
    Rollback();
}

bool SessionTransaction::Commit()
{
    if (!m_open)
        return false;
    m_open = false;
    return m_db.RunTextQuery("COMMIT TRANSACTION") != 0;
}

void SessionTransaction::Rollback()
{
    if (!m_open)
        return;
    m_open = false;
    // A second ROLLBACK would be refused (3903) and shown to the user as an error box.
    if (OpenOnServer())
        m_db.RunTextQuery("ROLLBACK TRANSACTION");
}

bool SessionTransaction::OpenOnServer()
{
    if (!m_db.RunTextQuery("SELECT @@TRANCOUNT AS trancount") || m_db.IsEOF())
        return true; // unknown: let the server answer the statement itself
    return m_db.GetIntField("trancount") > 0;
}

} // namespace quorin
