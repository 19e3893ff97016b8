// Both engines declare exactly the procedures of the contract, with its parameters in
// its order and the same types, and their bodies name every column the program reads;
// the SQL Server script's writers are all or nothing.
#include "database/ContractTable.h"
#include "database/EmbeddedScriptFiles.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <map>
#include <sstream>

namespace quorin::test {
namespace {

std::map<std::string, DeclaredProcedure> byName(const std::vector<DeclaredProcedure>& procedures)
{
    std::map<std::string, DeclaredProcedure> map;
    for (const auto& p : procedures)
        map.emplace(lowerCase(p.name), p);
    return map;
}

// True when `word` stands in `text` as a whole word, in any case (no std::regex: GCC 12
// warns falsely inside it).
bool HasWord(const std::string& text, const std::string& word)
{
    const std::string t = lowerCase(text);
    const std::string w = lowerCase(word);
    const auto inWord = [&](std::size_t at) {
        return at < t.size() && (std::isalnum(static_cast<unsigned char>(t[at])) || t[at] == '_');
    };
    for (auto at = t.find(w); at != std::string::npos; at = t.find(w, at + 1))
        if ((at == 0 || !inWord(at - 1)) && !inWord(at + w.size()))
            return true;
    return false;
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
                EXPECT_TRUE(HasWord(it->second.body, column))
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

// Adding a staff member never takes over an existing one. No SQL Server runs here, so
// its procedure is read: it refuses a user name that has a row before writing anything,
// and never rewrites that row (the embedded engine's is run in StaffAccessTest).
TEST(ContractDeclaration, TheSqlServerProcedureRefusesAStaffNameThatHasARow)
{
    const auto body = sqlServerProcedures().at("uspcreatenewuser").body;
    const auto check = body.find("EXISTS (SELECT 1 FROM pers WHERE UserName = @user)");
    const auto refused = body.find("RAISERROR('A user named %s already exists.', 16, 1, @user)");
    const auto insert = body.find("INSERT INTO pers");
    ASSERT_NE(check, std::string::npos);
    ASSERT_NE(refused, std::string::npos);
    EXPECT_LT(check, insert);
    EXPECT_LT(refused, insert);
    EXPECT_EQ(body.find("UPDATE pers"), std::string::npos);
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
