// Backups taken while another program writes hold every transaction whole or not at all;
// a restore checks the whole backup before it replaces anything; registries stay off
// network file systems.

#include "ChildProcess.h"
#include "TestServer.h"

#include "dalport/Backup.h"
#include "support/RawRegistry.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

using namespace testing_embedded;
using quorin::test::RawRegistry;
namespace fs = std::filesystem;

namespace {

constexpr const char* kSubjects = "select count(*) from subjects where lastname = 'w'";

std::string backUp(const std::string& server, const std::string& to)
{
    dalport::BackupOptions options;
    options.server = server;
    options.toFolder = to;
    options.programVersion = "test";
    return dalport::BackUpServer(options).file;
}

bool logsIn(const std::string& folder, const char* login, const char* password)
{
    Boxes quiet;
    MyADO db;
    return db.SetDataSource(folder.c_str(), login, password, "Quorin");
}

// Another program's transactions each write one row to Quorin and one to Aud (only the
// administrator may write both here), until told to stop; the child succeeds only when
// every statement did.
pid_t spanningWriter(const TestServer& server, const fs::path& stop, const Signal& started)
{
    return spawn([&] {
        Boxes quiet;
        MyADO db;
        bool ok = db.SetDataSource(server.folder.c_str(), kAdmin, kAdminPassword, "Quorin");
        for (int i = 1; ok && !fs::exists(stop); ++i) {
            const std::string n = std::to_string(i);
            ok = db.RunTextQuery("BEGIN TRAN")
                && db.RunTextQuery(("insert into subjects(subjectid, lastname) values (" + n + ", 'w')").c_str())
                && db.RunTextQuery(("insert into Aud.dbo.info(PatientNum, Lastname) values (" + n + ", 'w')").c_str())
                && db.RunTextQuery("COMMIT TRAN");
            if (i == 20 || !ok)
                started.send(); // a writer that fails lets the test go on to say so
        }
        for (const auto& e : quiet.provider())
            std::fprintf(stderr, "writer: %ld %s\n", e.number, e.text.c_str());
        return ok && quiet.provider().empty();
    });
}

TEST(Backup, AWriterSpanningTwoDatabasesNeverFailsAndEachBackupHoldsWholeTransactions)
{
    TestServer server;
    const std::string backups = uniqueTempFolder("backups");
    const fs::path stop = fs::path(backups) / "stop";
    Signal started;
    const pid_t writer = spanningWriter(server, stop, started);
    ASSERT_TRUE(started.wait());
    std::vector<std::string> files;
    // The moment a backup could catch a transaction half committed is short: several tries.
    for (int i = 0; i < 6; ++i)
        files.push_back(backUp(server.folder, backups));
    std::ofstream(stop).put('!');
    EXPECT_EQ(exitStatus(writer), 0) << "the writer met an error while the backups ran";

    for (const std::string& file : files) {
        SCOPED_TRACE(file);
        EXPECT_EQ(fs::status(file).permissions() & fs::perms::all, fs::perms::owner_read | fs::perms::owner_write);
        const std::string restored = uniqueTempFolder("restored");
        dalport::RestoreServer(file, restored, false);
        const RawRegistry raw(restored);
        EXPECT_GE(raw.number(kSubjects), 20);
        // Every transaction is in both databases or in neither.
        EXPECT_EQ(raw.dump("select subjectid from subjects where lastname = 'w' order by 1"),
                  raw.dump("select PatientNum from Aud.info where Lastname = 'w' order by 1"));
        EXPECT_EQ(dalport::CheckServer(restored, {}).problems, std::vector<std::string>{});
        EXPECT_TRUE(logsIn(restored, "jdoe", kStaffPassword));
        fs::remove_all(restored);
    }
    fs::remove_all(backups);
}

// What a restore onto an existing registry must refuse, each leaving it as it was.
TEST(Restore, RefusesADamagedBackupAWrongManifestAndAnOpenRegistryChangingNothing)
{
    TestServer source;
    TestServer target;
    ExecRaw(source.folder, "Quorin", "insert into subjects(subjectid, lastname) values (7, 'from the backup')");
    const std::string backups = uniqueTempFolder("backups");
    const std::string good = backUp(source.folder, backups);
    const auto targetHolds = [&] { return RawRegistry(target.folder).number("select count(*) from subjects"); };
    const std::int64_t before = targetHolds();
    const auto refused = [&](const std::string& file, const std::string& words) {
        try {
            dalport::RestoreServer(file, target.folder, true);
        } catch (const std::runtime_error& e) {
            EXPECT_NE(std::string(e.what()).find(words), std::string::npos) << e.what();
            EXPECT_EQ(targetHolds(), before);
            return;
        }
        ADD_FAILURE() << "restored from " << file;
    };

    std::string bytes;
    {
        std::ifstream in(good, std::ios::binary);
        bytes.assign(std::istreambuf_iterator<char>(in), {});
    }
    for (const std::size_t at : {bytes.size() / 3, bytes.size() / 2, 2 * bytes.size() / 3}) {
        const std::string flipped = backups + "/flipped-" + std::to_string(at) + ".quorin-backup";
        std::string copy = bytes;
        copy[at] = static_cast<char>(copy[at] ^ 0x10);
        std::ofstream(flipped, std::ios::binary) << copy;
        refused(flipped, "damaged");
    }

    // Another program's archive: the same files under a manifest that is not ours.
    const std::string unpacked = backups + "/unpacked";
    fs::create_directory(unpacked);
    ASSERT_EQ(std::system(("tar --zstd -xf '" + good + "' -C '" + unpacked + "'").c_str()), 0);
    ASSERT_EQ(std::system(("sed -i '1s/.*/Some other backup 1/' '" + unpacked + "/manifest.txt'").c_str()), 0);
    const std::string edited = backups + "/edited.quorin-backup";
    ASSERT_EQ(std::system(("tar --zstd -cf '" + edited + "' -C '" + unpacked + "' manifest.txt master.db Quorin.db Aud.db CID.db").c_str()), 0);
    refused(edited, "manifest");

    refused(good + ".missing", "no backup");
    EXPECT_THROW(dalport::RestoreServer(good, target.folder, false), std::runtime_error);
    {
        Boxes quiet;
        MyADO open;
        connect(open, target, "jdoe", kStaffPassword);
        refused(good, "open");
    }
    dalport::RestoreServer(good, target.folder, true);
    EXPECT_EQ(RawRegistry(target.folder).dump("select lastname from subjects"), RawRegistry(source.folder).dump("select lastname from subjects"));
    fs::remove_all(backups);
}

// A restore takes the registry's lock file exclusively while it replaces the files: a
// login then is refused (927, the database is being restored) rather than opening files
// about to go.
TEST(Restore, ALoginWhileARestoreHoldsTheRegistryIsRefused)
{
    TestServer server;
    const int lock = ::open((server.folder + "/registry.lock").c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
    ASSERT_GE(lock, 0);
    ASSERT_EQ(::flock(lock, LOCK_EX | LOCK_NB), 0);
    {
        Boxes quiet;
        struct Probe : MyADO { using MyADO::GetConnectionErrors; } db;
        EXPECT_FALSE(db.SetDataSource(server.folder.c_str(), "jdoe", kStaffPassword, "Quorin"));
        const auto errors = db.GetConnectionErrors();
        ASSERT_FALSE(errors.empty());
        EXPECT_EQ(errors.front().number, 927) << errors.front().message;
    }
    ::close(lock);
    EXPECT_TRUE(logsIn(server.folder, "jdoe", kStaffPassword));
}

long nfs(const char*) { return 0x6969; }

TEST(NetworkFolders, ARegistryIsNotCreatedThereButOneThereOpensWithAWarning)
{
    TestServer server;
    dalport::SetFileSystemTypeProbe(&nfs);
    const std::string place = uniqueTempFolder("on-nfs");
    EXPECT_THROW(dalport::CreateServer(place, kAdmin, kAdminPassword, TestServer::scripts()), std::runtime_error);
    EXPECT_FALSE(fs::exists(place));
    EXPECT_TRUE(logsIn(server.folder, "jdoe", kStaffPassword));
    const auto warning = dalport::NetworkFolderWarning(server.folder);
    dalport::SetFileSystemTypeProbe(nullptr);
    ASSERT_TRUE(warning.has_value());
    EXPECT_NE(warning->find("NFS"), std::string::npos);
    EXPECT_FALSE(dalport::NetworkFolderWarning(server.folder).has_value());
}

} // namespace
