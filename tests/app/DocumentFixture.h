#pragma once
// What the document tests share: a fresh registry server per test (copied from a
// template made once and kept for every later run of the same schema), a connected
// document with the scripted user interface, the session's error reports recorded,
// and a fixed clock.

#include "document/CQuorinDoc.h"
#include "support/ErrorRecorder.h"
#include "support/ScriptedUserInterface.h"

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace quorin::test {

// The document logs in as an ordinary staff member (QuorinUser in Quorin, Aud and CID),
// so every path the program takes is shown to work with the rights staff have. Set-up
// that writes what the program cannot goes through the administrator (OpenAsAdmin) or
// TestRegistry::ExecRaw.
inline constexpr const char* kTestLogin = "staff";
inline constexpr const char* kTestPassword = "Core-Tests-1";
// The server administrator of the test registry.
inline constexpr const char* kTestAdminLogin = "admin";
inline constexpr const char* kTestAdminPassword = "Core-Admin-1";
inline constexpr const char* kTestNow = "2026-06-15 10:30:00";

class TestRegistry {
public:
    TestRegistry();
    ~TestRegistry();
    TestRegistry(const TestRegistry&) = delete;
    TestRegistry& operator=(const TestRegistry&) = delete;

    const std::string& Folder() const { return m_folder; }

    // Straight SQLite on a database file of the server, with the engine's functions,
    // for what no operation of the program can do (e.g. a trigger that makes a write
    // fail).
    void ExecRaw(const std::string& database, const std::string& sql) const;

private:
    std::string m_folder;
};

// A view that records the hints it gets and may refuse the hand-over.
class RecordingView : public CDocumentView {
public:
    bool OnUpdate(int hint) override
    {
        hints.push_back(hint);
        if (onUpdate)
            onUpdate(hint);
        return !(hint == HintHandOver && refuseHandOver);
    }
    std::vector<int> hints;
    bool refuseHandOver = false;
    std::function<void(int)> onUpdate;
};

class DocumentTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    // The document logged in afresh as the login.
    void LogInAs(const char* login, const char* password);
    // A session as the server administrator, for set-up the program cannot do.
    MyADO OpenAsAdmin(const char* database) const;
    // On a fresh session of the document's staff login: the first row's column of a text
    // query ("" without a row), or its "num" column (-1 without a row).
    QString Scalar(const char* database, const QString& sql, const char* column) const;
    int Count(const char* database, const QString& sql) const;

    // The errors the session reported since the last call, as box texts.
    std::vector<std::string> TakeErrors();

    TestRegistry registry;
    ScriptedUserInterface ui;
    ErrorRecorder m_errors;
    std::unique_ptr<CQuorinDoc> doc;
    RecordingView view;
};

// A subject with every field holding its own distinct value.
CSubject DistinctSubject();

} // namespace quorin::test
