#include "app/ComponentVersions.h"

#include <sql.h>
#include <sqlext.h>
#include <sqlite3.h>

namespace quorin {
namespace {

// An environment handle of the driver manager, released on leaving.
class OdbcEnvironment {
public:
    OdbcEnvironment()
    {
        if (!SQL_SUCCEEDED(SQLAllocHandle(SQL_HANDLE_ENV, SQL_NULL_HANDLE, &m_env)))
            m_env = SQL_NULL_HENV;
        else
            SQLSetEnvAttr(m_env, SQL_ATTR_ODBC_VERSION, reinterpret_cast<SQLPOINTER>(SQL_OV_ODBC3), 0);
    }
    ~OdbcEnvironment()
    {
        if (m_env != SQL_NULL_HENV)
            SQLFreeHandle(SQL_HANDLE_ENV, m_env);
    }
    OdbcEnvironment(const OdbcEnvironment&) = delete;
    OdbcEnvironment& operator=(const OdbcEnvironment&) = delete;

    SQLHENV Handle() const { return m_env; }

private:
    SQLHENV m_env = SQL_NULL_HENV;
};

} // namespace

QString OdbcDriverManagerVersion()
{
    // The driver manager answers SQL_DM_VER on a connection handle that is not yet
    // connected; no driver is loaded for it.
    OdbcEnvironment env;
    if (env.Handle() == SQL_NULL_HENV)
        return QString();
    QString version;
    SQLHDBC dbc = SQL_NULL_HDBC;
    if (SQL_SUCCEEDED(SQLAllocHandle(SQL_HANDLE_DBC, env.Handle(), &dbc))) {
        SQLCHAR buffer[64] = {};
        SQLSMALLINT length = 0;
        if (SQL_SUCCEEDED(SQLGetInfo(dbc, SQL_DM_VER, buffer, sizeof buffer, &length)))
            version = QString::fromLatin1(reinterpret_cast<const char*>(buffer));
        SQLFreeHandle(SQL_HANDLE_DBC, dbc);
    }
    return version;
}

QString UnixOdbcVersion()
{
#ifdef SQL_ATTR_UNIXODBC_VERSION
    // SQL_DM_VER carries only the release's first two numbers; unixODBC tells its full
    // release as an attribute of the environment.
    OdbcEnvironment env;
    if (env.Handle() == SQL_NULL_HENV)
        return QString();
    SQLCHAR buffer[64] = {};
    SQLINTEGER length = 0;
    if (SQL_SUCCEEDED(SQLGetEnvAttr(env.Handle(), SQL_ATTR_UNIXODBC_VERSION, buffer, sizeof buffer - 1, &length)))
        return QString::fromLatin1(reinterpret_cast<const char*>(buffer));
#endif
    return QString();
}

QString OdbcDriverManagerText()
{
    const QString dmVersion = OdbcDriverManagerVersion();
    const QString release = UnixOdbcVersion();
    // The API level is the first two numbers of SQL_DM_VER ("03.52").
    const QString apiLevel = dmVersion.section(QLatin1Char('.'), 0, 1);
    if (!release.isEmpty()) {
        QString text = QStringLiteral("unixODBC %1").arg(release);
        if (!apiLevel.isEmpty())
            text += QStringLiteral(" (ODBC %1)").arg(apiLevel);
        return text;
    }
    return dmVersion.isEmpty() ? QStringLiteral("not available") : dmVersion;
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
    return QStringLiteral("ODBC Driver Manager:  %1").arg(OdbcDriverManagerText());
}

QString SqliteLine()
{
    return QStringLiteral("Embedded Engine:  SQLite %1").arg(SqliteVersion());
}

} // namespace quorin
