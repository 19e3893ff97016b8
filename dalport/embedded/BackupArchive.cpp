#include "dalport/embedded/BackupArchive.h"

#include <archive.h>
#include <archive_entry.h>
#include <sodium.h>

#include <algorithm>
#include <array>
#include <ctime>
#include <fstream>
#include <memory>
#include <set>
#include <sstream>
#include <stdexcept>

#include <fcntl.h>
#include <unistd.h>

namespace fs = std::filesystem;

namespace dalport::embedded {

namespace {

constexpr const char* kManifestName = "manifest.txt";
constexpr const char* kFirstLine = "Quorin registry backup 1";
constexpr std::int64_t kMaxManifest = 64 * 1024;
constexpr std::size_t kChunk = 1 << 20;

class Sha256 {
public:
    Sha256()
    {
        if (sodium_init() < 0)
            throw std::runtime_error("libsodium could not be initialised");
        crypto_hash_sha256_init(&m_state);
    }
    void add(const char* data, std::size_t size)
    {
        crypto_hash_sha256_update(&m_state, reinterpret_cast<const unsigned char*>(data), size);
    }
    std::string hex()
    {
        std::array<unsigned char, crypto_hash_sha256_BYTES> digest{};
        crypto_hash_sha256_final(&m_state, digest.data());
        std::array<char, crypto_hash_sha256_BYTES * 2 + 1> text{};
        sodium_bin2hex(text.data(), text.size(), digest.data(), digest.size());
        return text.data();
    }

private:
    crypto_hash_sha256_state m_state{};
};

bool isPlainFileName(const std::string& name)
{
    return !name.empty() && name.find('/') == std::string::npos && name != "." && name != ".."
        && name.size() > 3 && name.compare(name.size() - 3, 3, ".db") == 0;
}

using WriteHandle = std::unique_ptr<archive, decltype(&archive_write_free)>;
using ReadHandle = std::unique_ptr<archive, decltype(&archive_read_free)>;

// A file made for writing (0600, never one that exists), closed on every way out:
// libarchive does not close a descriptor it is handed, and a write that throws must not
// keep a removed file's space held.
struct NewFile {
    explicit NewFile(const fs::path& path) : fd(::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0600))
    {
        if (fd < 0)
            throw std::runtime_error("cannot create " + path.string());
    }
    ~NewFile() { ::close(fd); }
    NewFile(const NewFile&) = delete;
    NewFile& operator=(const NewFile&) = delete;

    const int fd;
};

void addEntry(archive* out, const std::string& name, std::int64_t size)
{
    std::unique_ptr<archive_entry, decltype(&archive_entry_free)> entry(archive_entry_new(), &archive_entry_free);
    archive_entry_set_pathname(entry.get(), name.c_str());
    archive_entry_set_size(entry.get(), size);
    archive_entry_set_filetype(entry.get(), AE_IFREG);
    archive_entry_set_perm(entry.get(), 0600);
    archive_entry_set_mtime(entry.get(), time(nullptr), 0);
    if (archive_write_header(out, entry.get()) != ARCHIVE_OK)
        throw std::runtime_error(std::string("cannot write the backup: ") + archive_error_string(out));
}

void writeData(archive* out, const char* data, std::size_t size)
{
    if (archive_write_data(out, data, size) != static_cast<la_ssize_t>(size))
        throw std::runtime_error(std::string("cannot write the backup: ") + archive_error_string(out));
}

[[noreturn]] void damaged(const fs::path& archive, const std::string& why)
{
    throw std::runtime_error("the backup " + archive.string() + " is damaged or not a registry backup: " + why);
}

std::string manifestText(const Manifest& manifest)
{
    std::ostringstream out;
    out << kFirstLine << "\nversion " << manifest.version << "\ntime " << manifest.time << "\n";
    for (const ArchivedFile& f : manifest.files)
        out << "database " << f.name << " " << f.size << " " << f.sha256 << "\n";
    return out.str();
}

Manifest parseManifest(const std::string& text)
{
    std::istringstream in(text);
    std::string line;
    if (!std::getline(in, line) || line != kFirstLine)
        throw std::runtime_error("its manifest does not begin \"" + std::string(kFirstLine) + "\"");
    Manifest manifest;
    std::set<std::string> names;
    while (std::getline(in, line)) {
        std::istringstream fields(line);
        std::string key;
        fields >> key;
        if (key == "version" || key == "time") {
            std::string value;
            std::getline(fields >> std::ws, value);
            (key == "version" ? manifest.version : manifest.time) = value;
        } else if (key == "database") {
            ArchivedFile f;
            fields >> f.name >> f.size >> f.sha256;
            if (fields.fail() || !isPlainFileName(f.name) || f.size < 0 || f.sha256.size() != 64
                || !names.insert(f.name).second)
                throw std::runtime_error("its manifest has a wrong line: " + line);
            manifest.files.push_back(f);
        } else if (!key.empty()) {
            throw std::runtime_error("its manifest has a line it should not: " + line);
        }
    }
    if (!names.count("master.db"))
        throw std::runtime_error("its manifest names no master.db (the logins)");
    return manifest;
}

} // namespace

std::string sha256OfFile(const fs::path& file)
{
    std::ifstream in(file, std::ios::binary);
    if (!in)
        throw std::runtime_error("cannot read " + file.string());
    Sha256 hash;
    std::string buffer(kChunk, '\0');
    while (in.read(buffer.data(), static_cast<std::streamsize>(buffer.size())) || in.gcount() > 0)
        hash.add(buffer.data(), static_cast<std::size_t>(in.gcount()));
    return hash.hex();
}

bool writeArchive(const fs::path& path, const Manifest& manifest, const fs::path& folder,
                  const std::function<bool(std::int64_t)>& progress)
{
    const NewFile file(path);
    const int fd = file.fd;
    WriteHandle out(archive_write_new(), &archive_write_free);
    archive_write_set_format_pax_restricted(out.get());
    if (archive_write_add_filter_zstd(out.get()) != ARCHIVE_OK)
        throw std::runtime_error("this build's libarchive cannot write zstd");
    archive_write_set_filter_option(out.get(), "zstd", "compression-level", "3");
    archive_write_set_filter_option(out.get(), "zstd", "threads", "0"); // as many as the machine has
    if (archive_write_open_fd(out.get(), fd) != ARCHIVE_OK)
        throw std::runtime_error(std::string("cannot write the backup: ") + archive_error_string(out.get()));
    const std::string text = manifestText(manifest);
    addEntry(out.get(), kManifestName, static_cast<std::int64_t>(text.size()));
    writeData(out.get(), text.data(), text.size());
    std::int64_t done = 0;
    std::string buffer(kChunk, '\0');
    bool finished = true;
    for (const ArchivedFile& f : manifest.files) {
        std::ifstream in(folder / f.name, std::ios::binary);
        if (!in)
            throw std::runtime_error("cannot read " + (folder / f.name).string());
        addEntry(out.get(), f.name, f.size);
        while (in.read(buffer.data(), static_cast<std::streamsize>(buffer.size())) || in.gcount() > 0) {
            writeData(out.get(), buffer.data(), static_cast<std::size_t>(in.gcount()));
            done += in.gcount();
            if (progress && !progress(done)) {
                finished = false;
                break;
            }
        }
        if (!finished)
            break;
    }
    const bool closed = archive_write_close(out.get()) == ARCHIVE_OK;
    const bool synced = ::fsync(fd) == 0;
    if (finished && (!closed || !synced))
        throw std::runtime_error("cannot finish the backup " + path.string() + " (is the disk full?)");
    return finished;
}

Manifest extractArchive(const fs::path& path, const fs::path& folder)
{
    ReadHandle in(archive_read_new(), &archive_read_free);
    archive_read_support_filter_zstd(in.get());
    archive_read_support_format_tar(in.get());
    if (archive_read_open_filename(in.get(), path.c_str(), kChunk) != ARCHIVE_OK)
        damaged(path, archive_error_string(in.get()));
    archive_entry* entry = nullptr;
    auto next = [&] {
        const int rc = archive_read_next_header(in.get(), &entry);
        if (rc != ARCHIVE_OK && rc != ARCHIVE_EOF)
            damaged(path, archive_error_string(in.get()));
        return rc == ARCHIVE_OK;
    };
    if (!next() || archive_entry_pathname(entry) != std::string(kManifestName) || archive_entry_size(entry) > kMaxManifest)
        damaged(path, "it does not begin with its manifest");
    std::string text(static_cast<std::size_t>(archive_entry_size(entry)), '\0');
    if (archive_read_data(in.get(), text.data(), text.size()) != static_cast<la_ssize_t>(text.size()))
        damaged(path, "its manifest cannot be read");
    Manifest manifest;
    try {
        manifest = parseManifest(text);
    } catch (const std::runtime_error& e) {
        damaged(path, e.what());
    }
    std::set<std::string> seen;
    std::string buffer(kChunk, '\0');
    while (next()) {
        const std::string name = archive_entry_pathname(entry);
        auto listed = std::find_if(manifest.files.begin(), manifest.files.end(),
                                   [&](const ArchivedFile& f) { return f.name == name; });
        if (listed == manifest.files.end() || !seen.insert(name).second || archive_entry_filetype(entry) != AE_IFREG)
            damaged(path, "it holds " + name + ", which its manifest does not list once");
        const NewFile file(folder / name);
        const int fd = file.fd;
        Sha256 hash;
        std::int64_t size = 0;
        la_ssize_t got = 0;
        bool written = true;
        while ((got = archive_read_data(in.get(), buffer.data(), buffer.size())) > 0) {
            hash.add(buffer.data(), static_cast<std::size_t>(got));
            size += got;
            written = written && size <= listed->size && ::write(fd, buffer.data(), static_cast<std::size_t>(got)) == got;
        }
        written = ::fsync(fd) == 0 && written;
        if (got < 0)
            damaged(path, archive_error_string(in.get()));
        if (size != listed->size || hash.hex() != listed->sha256)
            damaged(path, name + " does not match its checksum");
        if (!written)
            throw std::runtime_error("cannot write " + (folder / name).string() + " (is the disk full?)");
    }
    if (seen.size() != manifest.files.size())
        damaged(path, "a database its manifest lists is missing");
    return manifest;
}

} // namespace dalport::embedded
