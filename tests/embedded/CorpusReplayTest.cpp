#include "TestServer.h"

#include "dalport/Clock.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

using namespace testing_embedded;
namespace fs = std::filesystem;

namespace {

bool isWordChar(char c) { return std::isalnum(static_cast<unsigned char>(c)) || c == '_' || c == '@' || c == '#' || c == '$'; }

// Other values for a literal: longer, empty, a number, a day that does not exist, a date.
std::string otherText(const std::string& text, int variant)
{
    const std::string others[] = {"12/31/1999", text + text + "x", "", "7", "2/30/2005"};
    return others[variant % 5];
}

std::string otherNumber(const std::string& number, int variant)
{
    if (number.find_first_of(".eE") != std::string::npos)
        return variant % 2 ? number + "5" : "0.25";
    if (number.size() > 9)
        return number; // beyond what the engine binds: kept as written
    const long long n = std::atoll(number.c_str());
    return std::to_string(variant % 3 == 2 ? 0 : n + 7 * variant);
}

// The text with every literal changed (in comments too: both sessions get the same text).
std::string withOtherLiterals(const std::string& text, int variant)
{
    std::string out;
    for (std::size_t i = 0; i < text.size();) {
        if (text[i] == '\'') {
            std::string value; // '' inside stands for one quote
            std::size_t j = i + 1;
            for (; j < text.size() && !(text[j] == '\'' && (j + 1 == text.size() || text[j + 1] != '\'')); ++j)
                value += text[j] == '\'' ? text[++j] : text[j];
            if (j >= text.size()) { // unclosed: left as it is
                out.append(text, i, std::string::npos);
                break;
            }
            out += '\'';
            for (char v : otherText(value, variant))
                out += v == '\'' ? std::string("''") : std::string(1, v);
            out += '\'';
            i = j + 1;
        } else if (std::isdigit(static_cast<unsigned char>(text[i]))
                   && (i == 0 || (!isWordChar(text[i - 1]) && text[i - 1] != '.'))) {
            std::size_t j = i;
            while (j < text.size() && (std::isdigit(static_cast<unsigned char>(text[j])) || text[j] == '.'))
                ++j;
            out += otherNumber(text.substr(i, j - i), variant);
            i = j;
        } else {
            out += text[i++];
        }
    }
    return out;
}

// Replays the engine's corpus (the program's recorded queries, machine-made chains and the
// translator's fuzzing finds) through a session that keeps plans by statement shape and one
// that keeps them by exact text, each text with its own values, with others and with its
// own again: whatever the text, the engine answers with a result or an error, the two
// sessions answer alike, and both stay usable.
TEST(CorpusReplay, EveryCorpusTextEndsInAResultOrAnError)
{
    dalport::SetFixedClock("2026-06-15 10:00:00");
    TestServer byShape, byText;
    Boxes boxes;
    WholeResultReader shaped, exact;
    connect(shaped, byShape, kAdmin, kAdminPassword);
    connectByExactText(exact, byText.folder);
    for (const char* sql : {"insert into subjects(subjectid, lastname, firstname, birthdate, status, unit) values "
                            "(1, 'Adams', 'Anna', '3/7/2009', 0, 1001), (8, 'O''Brien', 'Bo', '12/31/1990', 1, 1008)",
                            "insert into CiDevice(SubjectId, Ear, SurgDate, AgeAtImplant) values (1, 'Left', '4/1/2009', 4)",
                            "insert into pers(persid, username, status) values (7, 'jdoe', 1)"}) {
        ASSERT_EQ(shaped.RunTextQuery(sql), 1) << sql;
        ASSERT_EQ(exact.RunTextQuery(sql), 1) << sql;
    }
    std::vector<fs::path> files(fs::directory_iterator(QUORIN_ENGINE_CORPUS), fs::directory_iterator{});
    std::sort(files.begin(), files.end());
    std::size_t compared = 0, ran = 0;
    for (const fs::path& file : files) {
        std::ifstream in(file, std::ios::binary);
        std::stringstream content;
        content << in.rdbuf();
        for (int variant : {0, 1, 2, 3, 4, 5, 0}) {
            const std::string sql = variant ? withOtherLiterals(content.str(), variant) : content.str();
            const auto outcome = outcomeOf(shaped, boxes, sql);
            EXPECT_EQ(outcome, outcomeOf(exact, boxes, sql)) << file.filename() << ": " << sql;
            ran += outcome.front() == "ran" ? 1 : 0;
            ++compared;
            // A text may leave a transaction open; it is ended before the next one.
            for (WholeResultReader* session : {&shaped, &exact}) {
                if (scalar(*session, "select @@TRANCOUNT as v") != "0")
                    session->RunTextQuery("ROLLBACK");
                ASSERT_EQ(scalar(*session, "select 1 as v"), "1") << file.filename();
            }
        }
    }
    EXPECT_GE(files.size(), 150u);
    EXPECT_GE(ran, compared / 4) << "a fair share of the texts must run, not only fail alike";
    dalport::ResetClock();
}

} // namespace
