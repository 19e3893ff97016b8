// Every message the engine can produce, read from its sources: each carries a SQL Server
// error number, and the storage library's own wording reaches a caller only through the
// one translation that maps it to the engine's table.

#include <gtest/gtest.h>

#include <cctype>

#include <filesystem>
#include <fstream>
#include <set>
#include <sstream>
#include <string>

namespace fs = std::filesystem;

namespace {

std::string read(const fs::path& p)
{
    std::ifstream in(p);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
}

TEST(EngineMessages, EveryMessageInTheSourcesHasANumberAndTheEnginesOwnWords)
{
    // Numbers the engine raises: SQL Server's own, and 50000 for failures without one.
    const std::set<long> known{17,   102,  105,  191,  109,  110,  113,  119,  137,  155,  156,  174,  195,  201,  207,
                               208,  209,  213,  229,  241,  242,  243,  245,  262,  281,  402,  506,  515,  536,
                               547,  628,  701,  911,  1222, 2627, 2812, 3902, 3903, 4060, 4104, 6401, 8114,
                               8115, 8117, 8144, 8145, 8152, 2715, 15434, 916, 230, 4606, 15118, 15007, 15023, 15025, 15116, 15151, 15247, 15410,
                               18456, 18466, 18488, 15128, 824, 1105, 3906, 5120, 120, 121, 2628, 50000};
    const char* storageWords[] = {"sqlite", "SQLite", "SQLITE", "no such", "syntax error", "datatype mismatch",
                                  "constraint failed", "database is locked"};
    std::size_t messages = 0;
    for (const auto& entry : fs::directory_iterator(QUORIN_ENGINE_SOURCES)) {
        if (entry.path().extension() != ".cpp")
            continue;
        const std::string source = read(entry.path());
        const std::string file = entry.path().filename().string();
        // EngineError{number, level, state, "text"...} and make(number, level, "text"...).
        for (const std::string opener : {"EngineError{", "make("}) {
            for (std::size_t at = source.find(opener); at != std::string::npos; at = source.find(opener, at + 1)) {
                std::size_t p = at + opener.size();
                while (p < source.size() && source[p] == ' ')
                    ++p;
                std::size_t digits = p;
                while (digits < source.size() && std::isdigit(static_cast<unsigned char>(source[digits])))
                    ++digits;
                if (digits == p || source[digits] != ',')
                    continue;
                const long number = std::stol(source.substr(p, digits - p));
                EXPECT_TRUE(known.count(number)) << file << ": error " << number << " is not in the engine's table";
                // The text of this error: its string literals up to the end of the statement.
                const std::string statement = source.substr(at, source.find(';', at) - at);
                // A failure without a counterpart says something of its own, never a
                // message passed through (but for RAISERROR in a procedure body, whose
                // author's words it carries).
                const bool raiserror = file == "EngineFunctions.cpp" && statement.find("textOf(argv[0])") != std::string::npos;
                if (number == 50000 && !raiserror) {
                    EXPECT_NE(statement.find('"'), std::string::npos) << file << ": " << statement;
                }
                for (std::size_t q = statement.find('"'); q != std::string::npos;) {
                    std::size_t end = q + 1;
                    while (end < statement.size() && statement[end] != '"')
                        end += statement[end] == '\\' ? 2 : 1;
                    const std::string text = statement.substr(q + 1, end - q - 1);
                    for (const char* w : storageWords)
                        EXPECT_EQ(text.find(w), std::string::npos) << file << ": " << text;
                    q = end + 1 < statement.size() ? statement.find('"', end + 1) : std::string::npos;
                }
                ++messages;
            }
        }
        // The storage library's texts are read in one place only, which maps them; the
        // registry builder (a tool's) reports its own failures.
        if (file != "EngineError.cpp" && file != "Registry.cpp") {
            EXPECT_EQ(source.find("sqlite3_errmsg"), std::string::npos) << file;
            const auto errstr = source.find("sqlite3_errstr");
            if (errstr != std::string::npos) {
                EXPECT_NE(source.find("fromSqliteMessage", errstr), std::string::npos) << file;
            }
        }
    }
    EXPECT_GT(messages, 60u);
}

} // namespace
