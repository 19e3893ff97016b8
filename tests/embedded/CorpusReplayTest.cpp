// Replays the translator's fuzz corpus through a session: whatever the text, the engine
// answers with a result or an error and the session stays usable.

#include "TestServer.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

using namespace testing_embedded;
namespace fs = std::filesystem;

namespace {

TEST(CorpusReplay, EveryCorpusTextEndsInAResultOrAnError)
{
    TestServer server;
    Boxes boxes;
    MyADO db;
    connect(db, server, kAdmin, kAdminPassword);
    std::size_t files = 0;
    for (const auto& entry : fs::directory_iterator(QUORIN_ENGINE_CORPUS)) {
        std::ifstream in(entry.path(), std::ios::binary);
        std::stringstream text;
        text << in.rdbuf();
        const int ok = db.RunTextQuery(text.str().c_str());
        if (ok) {
            while (!db.IsEOF())
                db.MoveNext();
        }
        ++files;
        // A text may leave a transaction open; end it before the next one.
        if (scalar(db, "select @@TRANCOUNT as v") != "0")
            db.RunTextQuery("ROLLBACK");
        ASSERT_EQ(scalar(db, "select 1 as v"), "1") << entry.path().filename();
    }
    EXPECT_GE(files, 20u);
}

} // namespace
