// Both engines declare exactly the procedures of the contract, with its parameters in
// its order and the same types, and their bodies name every column the program reads;
// the SQL Server script's writers are all or nothing.
#include "database/ContractTable.h"
#include "database/EmbeddedScriptFiles.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <regex>
#include <sstream>
#include <tuple>

namespace quorin::test {
namespace {

std::map<std::string, DeclaredProcedure> byName(const std::vector<DeclaredProcedure>& procedures)
{
    std::map<std::string, DeclaredProcedure> map;
    for (const auto& p : procedures)
        map.emplace(lowerCase(p.name), p);
    return map;
}

std::map<std::string, DeclaredProcedure> embeddedProcedures()
{
    std::vector<DeclaredProcedure> all;
    for (const auto& file : schema::embeddedScriptFiles()) {
        if (file.path.find("/procedures/") == std::string_view::npos)
            continue;
        auto declared = parseProcedures(std::string(file.text));
        EXPECT_EQ(declared.size(), 1u) << file.path << " must declare one procedure";
        if (!declared.empty()) {
            EXPECT_EQ("embedded/quorin/procedures/" + declared[0].name + ".sql", file.path) << "file named after its procedure";
            all.push_back(declared[0]);
        }
    }
    return byName(all);
}

std::map<std::string, DeclaredProcedure> sqlServerProcedures()
{
    return byName(parseProcedures(readSourceFile("mssql/03-quorin-procedures.sql")));
}

TEST(ContractDeclaration, BothEnginesDeclareEveryProcedureOfTheTableAsItSaysWithTheSameTypes)
{
    const auto contract = loadContract();
    const auto embedded = embeddedProcedures();
    const auto server = sqlServerProcedures();
    for (const auto& [engine, declared] : {std::pair{"embedded", &embedded}, std::pair{"mssql", &server}}) {
        EXPECT_EQ(declared->size(), contract.size()) << engine << ": a procedure outside the contract";
        for (const auto& c : contract) {
            const auto it = declared->find(lowerCase(c.name));
            ASSERT_NE(it, declared->end()) << c.name << " missing in " << engine;
            const auto& parameters = it->second.parameters;
            EXPECT_EQ(parameters.size(), c.parameters.size()) << engine << " " << c.name;
            for (std::size_t i = 0; i < std::min(parameters.size(), c.parameters.size()); ++i) {
                EXPECT_EQ(lowerCase(parameters[i].name), lowerCase(c.parameters[i].name))
                    << engine << " " << c.name << " parameter " << i + 1;
                EXPECT_EQ(parameters[i].type, c.parameters[i].type) << engine << " " << c.name << " @" << c.parameters[i].name;
            }
            for (const auto& column : c.columns)
                EXPECT_TRUE(std::regex_search(it->second.body, std::regex("\\b" + column + "\\b", std::regex::icase)))
                    << engine << " " << c.name << " lacks " << column;
        }
    }
    for (const auto& [name, declared] : server) {
        const auto it = embedded.find(name);
        ASSERT_NE(it, embedded.end()) << name;
        // The embedded engine's "text" parameters are varchar(max) on a real server.
        auto expected = it->second.declaredTypes;
        std::replace(expected.begin(), expected.end(), std::string("text"), std::string("varchar"));
        EXPECT_EQ(declared.declaredTypes, expected) << name;
    }
}

// Adding a staff member never takes over an existing one: both engines refuse a user
// name that has a row before writing anything, and never rewrite that row.
TEST(ContractDeclaration, BothEnginesRefuseAStaffNameThatHasARow)
{
    const auto embedded = embeddedProcedures().at("uspcreatenewuser").body;
    const auto server = sqlServerProcedures().at("uspcreatenewuser").body;
    for (const auto& [engine, body, refusal] :
         {std::tuple{"embedded", embedded, std::string("tsql_raiserror('A user named ' || @user || ' already exists.')")},
          std::tuple{"mssql", server, std::string("RAISERROR('A user named %s already exists.', 16, 1, @user)")}}) {
        const auto check = body.find("EXISTS (SELECT 1 FROM pers WHERE UserName = @user)");
        const auto refused = body.find(refusal);
        const auto insert = body.find("INSERT INTO pers");
        ASSERT_NE(check, std::string::npos) << engine;
        ASSERT_NE(refused, std::string::npos) << engine;
        EXPECT_LT(check, insert) << engine;
        EXPECT_LT(refused, insert) << engine;
        EXPECT_EQ(body.find("UPDATE pers"), std::string::npos) << engine;
        EXPECT_EQ(body.find("ON CONFLICT"), std::string::npos) << engine;
    }
}

// On SQL Server a procedure that writes with several statements is all or nothing only
// with XACT_ABORT (or TRY/CATCH and ROLLBACK): otherwise a failing statement leaves the
// ones before it done.
TEST(SqlServerProcedures, EveryProcedureWritingSeveralStatementsAbortsWhole)
{
    int checked = 0;
    for (const auto& [name, proc] : sqlServerProcedures()) {
        const std::string body = lowerCase(proc.body);
        std::istringstream words(body);
        int writes = 0;
        for (std::string word; words >> word;)
            if (word == "insert" || word == "update" || word == "delete" || word == "exec" || word == "execute")
                ++writes;
        if (writes < 2)
            continue;
        ++checked;
        const bool xactAbort = body.find("set xact_abort on") != std::string::npos;
        const bool tryCatch = body.find("begin catch") != std::string::npos && body.find("rollback") != std::string::npos;
        EXPECT_TRUE(xactAbort || tryCatch) << name;
    }
    EXPECT_GE(checked, 5);
}

} // namespace
} // namespace quorin::test
