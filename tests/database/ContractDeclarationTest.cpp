// Both engines declare exactly the procedures of the contract, with its parameters in
// its order, and their bodies name every column the program reads.
#include "database/ContractTable.h"
#include "database/EmbeddedScriptFiles.h"

#include <gtest/gtest.h>

#include <map>
#include <sstream>
#include <tuple>
#include <set>

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

void expectSameParameters(const ContractProcedure& c, const DeclaredProcedure& d, const char* engine)
{
    ASSERT_EQ(d.parameters.size(), c.parameters.size()) << engine << " " << c.name;
    for (std::size_t i = 0; i < c.parameters.size(); ++i) {
        EXPECT_EQ(lowerCase(d.parameters[i].name), lowerCase(c.parameters[i].name))
            << engine << " " << c.name << " parameter " << i + 1;
        EXPECT_EQ(d.parameters[i].type, c.parameters[i].type) << engine << " " << c.name << " @" << c.parameters[i].name;
    }
}

TEST(ContractDeclaration, BothEnginesDeclareEveryProcedureOfTheTableAsItSays)
{
    const auto contract = loadContract();
    for (const auto& [engine, declared] : {std::pair{"embedded", embeddedProcedures()}, std::pair{"mssql", sqlServerProcedures()}}) {
        EXPECT_EQ(declared.size(), contract.size()) << engine << ": a procedure outside the contract";
        for (const auto& c : contract) {
            const auto it = declared.find(lowerCase(c.name));
            ASSERT_NE(it, declared.end()) << c.name << " missing in " << engine;
            expectSameParameters(c, it->second, engine);
            for (const auto& column : c.columns)
                EXPECT_TRUE(namesWord(it->second.body, column)) << engine << " " << c.name << " lacks " << column;
        }
    }
}

TEST(ContractDeclaration, BothEnginesDeclareTheSameTypes)
{
    const auto embedded = embeddedProcedures();
    for (const auto& [name, server] : sqlServerProcedures()) {
        const auto it = embedded.find(name);
        ASSERT_NE(it, embedded.end()) << name;
        ASSERT_EQ(it->second.declaredTypes.size(), server.declaredTypes.size()) << name;
        for (std::size_t i = 0; i < server.declaredTypes.size(); ++i) {
            // The embedded engine's "text" parameters are varchar(max) on a real server.
            const std::string expected = it->second.declaredTypes[i] == "text" ? "varchar" : it->second.declaredTypes[i];
            EXPECT_EQ(server.declaredTypes[i], expected) << name << " parameter " << i + 1;
        }
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

TEST(ContractDeclaration, InsertOrderTablesHaveExactlyTheInsertedColumns)
{
    // The program inserts CiDevice and cispeech rows without a column list.
    const std::string schema = readSourceFile("embedded/quorin/schema.sql");
    const auto columnsOf = [&](const std::string& table) {
        const auto start = schema.find("CREATE TABLE " + table + " (");
        const auto end = schema.find("\n);", start);
        std::stringstream block(schema.substr(start, end - start));
        std::string line;
        std::getline(block, line); // the CREATE TABLE line
        std::vector<std::string> names;
        while (std::getline(block, line)) {
            std::stringstream words(line);
            std::string name;
            words >> name;
            names.push_back(name);
        }
        return names;
    };
    EXPECT_EQ(columnsOf("CiDevice"), (std::vector<std::string>{"SubjectId", "Ear", "Device", "Positioner", "SurgDate",
                                                               "StimDate", "AgeAtImplant", "Surgeon", "Hospital", "Status",
                                                               "ExplantDate"}));
    EXPECT_EQ(columnsOf("cispeech"),
              (std::vector<std::string>{"SubjectId", "DataType", "TestType", "TestName", "Score", "TimeIS", "Condition"}));
}

} // namespace
} // namespace quorin::test
