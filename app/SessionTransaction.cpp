#include "app/SessionTransaction.h"

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
    m_db.RunTextQuery("ROLLBACK TRANSACTION");
}

} // namespace quorin
