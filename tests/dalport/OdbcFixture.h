#pragma once
// Each test gets a fresh SQLite file reached through unixODBC with the driver name
// "SQL Server", so the program's own connection string meets a real driver.

#include "support/ErrorRecorder.h"
#include "dalport/MyADO.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

class OdbcFixture : public ::testing::Test {
protected:
    // The SQLite driver registered under the name the program asks for.
    static void SetUpTestSuite()
    {
        const auto dir = std::filesystem::temp_directory_path() / ("quorin-odbcinst-" + std::to_string(::getpid()));
        std::filesystem::create_directories(dir);
        std::ofstream(dir / "odbcinst.ini") << "[SQL Server]\nDescription=SQLite3 standing in for SQL Server\n"
                                               "Driver=libsqlite3odbc.so\nUsageCount=1\n";
        std::ofstream(dir / "odbc.ini") << "";
        ::setenv("ODBCSYSINI", dir.c_str(), 1);
        ::setenv("ODBCINSTINI", "odbcinst.ini", 1);
        ::setenv("ODBCINI", (dir / "odbc.ini").c_str(), 1);
    }

    void SetUp() override
    {
        m_folder = std::filesystem::temp_directory_path() /
                   ("quorin-odbc-" + std::to_string(::getpid()) + "-" +
                    ::testing::UnitTest::GetInstance()->current_test_info()->name());
        std::filesystem::remove_all(m_folder);
        std::filesystem::create_directories(m_folder);
        m_database = (m_folder / "registry.db").string();
    }

    void TearDown() override { std::filesystem::remove_all(m_folder); }

    // connect: a session on this test's database; exec: a set-up statement that must succeed.
    bool connect(MyADO& db) { return db.SetDataSource("localhost", "staff", "secret", m_database.c_str()) == 1; }

    void exec(MyADO& db, const char* sql)
    {
        ASSERT_EQ(1, db.RunTextQuery(sql)) << sql << ::testing::PrintToString(m_errors.texts());
        db.RemoveParams();
    }

    std::filesystem::path m_folder;
    std::string m_database;
    ErrorRecorder m_errors;
};
