// The fuzz targets' corpora, replayed through the same checks on every test run.

#include "MailFuzzChecks.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>

using namespace quorin::mail::fuzz;

namespace {

std::size_t Replay(const char* folder, std::string (*check)(const std::uint8_t*, std::size_t))
{
    std::size_t files = 0;
    for (const auto& entry : std::filesystem::directory_iterator(std::filesystem::path(QUORIN_MAIL_CORPUS) / folder)) {
        std::ifstream in(entry.path(), std::ios::binary);
        const std::string bytes{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
        EXPECT_EQ(check(reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size()), "") << entry.path();
        ++files;
    }
    return files;
}

TEST(MailCorpus, ReplyReader) { EXPECT_GE(Replay("reply", CheckReplyReader), 10u); }
TEST(MailCorpus, RecipientLists) { EXPECT_GE(Replay("recipients", CheckRecipientList), 10u); }
TEST(MailCorpus, BodyPreparation) { EXPECT_GE(Replay("body", CheckBodyPreparation), 10u); }

} // namespace
