#include "bench/common/BenchRegistry.h"

#include "document/CQuorinDoc.h"

#include "dalport/Registry.h"
#include "database/RegistryScripts.h"
#include "database/demo/DemoRegistry.h"

#include <sqlite3.h>

#include <cstdio>
#include <filesystem>
#include <iostream>
#include <stdexcept>
#include <unistd.h>

namespace fs = std::filesystem;

namespace quorin::bench {

std::string KeptRegistryFolder(const std::string& name)
{
    // Every benchmark on a kept registry comes here first: the engine learns the
    // registry's names before the first connection.
    static const bool profiled = (quorin::UseRegistryProfile(), true);
    (void)profiled;
    std::string scripts;
    for (const dalport::DatabaseScript& db : quorin::registryScripts()) {
        scripts += db.schema;
        for (const std::string& procedure : db.procedures)
            scripts += procedure;
    }
    char tag[32];
    std::snprintf(tag, sizeof tag, "%016zx", std::hash<std::string>{}(scripts));
    return (fs::temp_directory_path() / "quorin-bench" / (name + "-" + tag)).string();
}

std::string KeptDemoRegistry(int subjects) { return KeptDemoRegistry(subjects, "demo-" + std::to_string(subjects), {}); }

std::string KeptDemoRegistry(int subjects, const std::string& name,
                             const std::function<void(const std::string& folder)>& fill)
{
    const fs::path path = KeptRegistryFolder(name);
    if (fs::exists(path / "master.db"))
        return path.string();
    const fs::path making = path.string() + ".making-" + std::to_string(::getpid());
    fs::remove_all(making);
    fs::create_directories(making.parent_path());
    std::cerr << "creating the demo registry (" << subjects << " subjects)...\n";
    quorin::demo::CreateDemoRegistry(making.string(), subjects);
    if (fill)
        fill(making.string());
    std::error_code taken;
    fs::rename(making, path, taken);
    if (taken && !fs::exists(path / "master.db")) {
        // What stands there is a broken leftover of an older run.
        fs::remove_all(path);
        taken.clear();
        fs::rename(making, path, taken);
    }
    if (taken) // another run finished first: its registry is the same
        fs::remove_all(making);
    return path.string();
}

sqlite3* OpenRawDatabase(const std::string& folder, const char* database)
{
    sqlite3* db = nullptr;
    const std::string file = dalport::DatabaseFilePath(folder, database);
    if (sqlite3_open_v2(file.c_str(), &db, SQLITE_OPEN_READWRITE, nullptr) != SQLITE_OK) {
        const std::string why = db ? sqlite3_errmsg(db) : "out of memory";
        sqlite3_close_v2(db);
        throw std::runtime_error("cannot open " + file + ": " + why);
    }
    dalport::RegisterEngineFunctions(db);
    return db;
}

void ExecRaw(sqlite3* db, const std::string& sql)
{
    if (sqlite3_exec(db, sql.c_str(), nullptr, nullptr, nullptr) != SQLITE_OK)
        throw std::runtime_error(std::string(sqlite3_errmsg(db)) + " in: " + sql);
}

UserInterface::Answer SilentUserInterface::MessageBox(const QString& text, Icon, Buttons buttons)
{
    if (m_echo)
        std::cerr << "message: " << text.toStdString() << "\n";
    return buttons == Buttons::YesNo ? m_toQuestions : Answer::Ok;
}

bool ConnectAsDemoAdministrator(CQuorinDoc& doc, const std::string& folder)
{
    const auto& admin = quorin::demo::demoStaffLogins().front();
    doc.m_strServer = QString::fromStdString(folder);
    doc.m_strUserName = QString::fromLatin1(admin.login);
    doc.m_strPassword = QString::fromLatin1(admin.password);
    doc.OnNewDocument();
    return doc.m_db.IsConnected();
}

} // namespace quorin::bench
