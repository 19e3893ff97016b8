#pragma once
// A registry server of the embedded engine in a temporary folder, made from the real
// scripts (and, for most tests, filled with a small demo registry), with a MyADO session
// to "Quorin" as the demo administrator and every error box recorded.

#include "dalport/MyADO.h"
#include "database/demo/DemoRegistry.h"
#include "support/ErrorRecorder.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <string>
#include <vector>

namespace quorin::test {

class RegistryTest : public ::testing::Test {
protected:
    // The clock every registry test sees, so the demo's dates and GETDATE() agree.
    static constexpr const char* kToday = "2026-06-15 10:00:00";
    static constexpr int kDemoSubjects = 150;
    static constexpr std::uint32_t kDemoSeed = 4242;

    // fillDemo: a demo registry; otherwise the bare scripts.
    explicit RegistryTest(bool fillDemo = true) : m_fillDemo(fillDemo) {}
    void SetUp() override;
    void TearDown() override;

    const std::string& folder() const { return m_folder; }
    const std::vector<dalport::ReportedError>& errors() const { return m_errors.all; }
    std::string errorText() const { return m_errors.text(); }

    // A new session to one of the server's databases, as the administrator unless a login is given.
    std::unique_ptr<MyADO> connect(const char* database, const char* login = nullptr, const char* password = nullptr);
    // 0 when the statement ran, else the number of the server's error.
    long errorOf(MyADO& db, const std::string& sql);
    // The first row's column of a text query on the Quorin session (-1 / "" without a row).
    int queryInt(const std::string& sql, const char* column = "num");
    std::string queryText(const std::string& sql, const char* column);

    MyADO m_db;

private:
    bool m_fillDemo;
    std::string m_folder;
    ErrorRecorder m_errors;
};

} // namespace quorin::test
