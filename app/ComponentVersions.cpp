#include "app/ComponentVersions.h"

#include <sql.h>
#include <sqlext.h>
#include <sqlite3.h>

namespace quorin {

QString OdbcDriverManagerVersion()
{
    // The driver manager answers SQL_DM_VER on a connection handle that is not yet
    // connected; no driver is loaded for it.
    QString version;
    SQLHENV env = SQL_NULL_HENV;
    if (!SQL_SUCCEEDED(SQLAllocHandle(SQL_HANDLE_ENV, SQL_NULL_HANDLE, &env)))
        return QStringLiteral("not available");
    SQLSetEnvAttr(env, SQL_ATTR_ODBC_VERSION, reinterpret_cast<SQLPOINTER>(SQL_OV_ODBC3), 0);
    SQLHDBC dbc = SQL_NULL_HDBC;
    if (SQL_SUCCEEDED(SQLAllocHandle(SQL_HANDLE_DBC, env, &dbc))) {
        SQLCHAR buffer[64] = {};
        SQLSMALLINT length = 0;
        if (SQL_SUCCEEDED(SQLGetInfo(dbc, SQL_DM_VER, buffer, sizeof buffer, &length)))
            version = QString::fromLatin1(reinterpret_cast<const char*>(buffer));
        SQLFreeHandle(SQL_HANDLE_DBC, dbc);
    }
    SQLFreeHandle(SQL_HANDLE_ENV, env);
    return version.isEmpty() ? QStringLiteral("not available") : version;
}

QString SqliteVersion()
{
    return QString::fromLatin1(sqlite3_libversion());
}

QString DataAccessLine()
{
    return QStringLiteral("Data Access:  Dalport %1").arg(QStringLiteral(QUORIN_VERSION_TEXT));
}

QString OdbcLine()
{
    return QStringLiteral("ODBC Driver Manager:  %1").arg(OdbcDriverManagerVersion());
}

QString SqliteLine()
{
    return QStringLiteral("Embedded Engine:  SQLite %1").arg(SqliteVersion());
}

} // namespace quorin
