#pragma once
// What the benchmarks on a demo registry share: the registry itself, made once and kept
// between runs in the system's temporary folder, and a user interface that shows
// nothing and answers every question.

#include "document/UserInterface.h"

class CQuorinDoc;
struct sqlite3;

#include <functional>
#include <string>

namespace quorin::bench {

// The folder of a kept registry: "quorin-bench/<name>-<tag>" in the temporary folder,
// the tag naming the schema and procedures it was made from, so that a changed script
// gets a registry of its own.
std::string KeptRegistryFolder(const std::string& name);

// The plain demo registry of `subjects` subjects ("demo-<subjects>"), shared by the
// benchmarks that leave it as they found it.
std::string KeptDemoRegistry(int subjects);

// A demo registry of `subjects` subjects kept under `name`, with `fill` run on its folder
// once it is made, for what a benchmark adds of its own. It is made in a folder beside
// and moved in place only when whole, so that a run stopped half-way (or a second
// program making the same one) never leaves a registry without its additions.
std::string KeptDemoRegistry(int subjects, const std::string& name,
                             const std::function<void(const std::string& folder)>& fill);

// A raw SQLite handle on one database of a registry, with the engine's collation and
// functions, for a set-up or a baseline; throws std::runtime_error when it cannot be
// opened. The caller closes it (sqlite3_close_v2).
sqlite3* OpenRawDatabase(const std::string& folder, const char* database);

// Runs SQL on a raw handle and throws std::runtime_error with SQLite's message when it
// fails: a set-up that did not happen is never kept as a made registry.
void ExecRaw(sqlite3* db, const std::string& sql);

// Opens `doc` on the registry in `folder` as the demo's administrator, as the login box
// would; false when it could not connect.
bool ConnectAsDemoAdministrator(CQuorinDoc& doc, const std::string& folder);

// Shows nothing: answers a yes/no question as told (Yes by default) and any other box
// with Ok; with `echo`, prints each message to stderr, so that a failing run says why.
class SilentUserInterface : public quorin::UserInterface {
public:
    explicit SilentUserInterface(Answer toQuestions = Answer::Yes, bool echo = false)
        : m_toQuestions(toQuestions), m_echo(echo)
    {
    }
    Answer MessageBox(const QString& text, Icon icon, Buttons buttons) override;
    void BeginWaitCursor() override {}
    void EndWaitCursor() override {}
    void BringForward(Page) override {}
    int RunDialog(Dialog) override { return 2; }
    QString GetOpenFileName(const QString&) override { return {}; }
    void SetDocumentTitle(const QString&) override {}

private:
    Answer m_toQuestions;
    bool m_echo;
};

} // namespace quorin::bench
