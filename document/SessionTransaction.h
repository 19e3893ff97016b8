#pragma once
// One transaction on a session, for the delete-and-rewrite of a set: either the whole
// new set is stored or the old one stays. Rolled back unless committed. A failing
// procedure may end the transaction on the server itself (SET XACT_ABORT ON), so the
// rollback first asks whether it is still open (@@TRANCOUNT).

class MyADO;

namespace quorin {

class SessionTransaction {
public:
    explicit SessionTransaction(MyADO& db);
    ~SessionTransaction();
    SessionTransaction(const SessionTransaction&) = delete;
    SessionTransaction& operator=(const SessionTransaction&) = delete;

    bool Started() const { return m_open; }
    // Returns true when the commit succeeded.
    bool Commit();
    void Rollback();

private:
    bool OpenOnServer();

    MyADO& m_db;
    bool m_open = false;
};

} // namespace quorin
