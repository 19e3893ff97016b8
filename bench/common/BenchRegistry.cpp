#include "bench/common/BenchRegistry.h"

#include "document/CQuorinDoc.h"

#include "database/RegistryScripts.h"
#include "database/demo/DemoRegistry.h"

#include <cstdio>
#include <filesystem>
#include <iostream>
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
