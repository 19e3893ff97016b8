#pragma once
// Where a server's files are: the folder a server name stands for, and the files in it.

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace dalport::embedded {

// The folder for a server name: empty means the default registry; "file:" and "~/"
// prefixes are understood.
std::filesystem::path serverFolder(const std::string& server);

std::filesystem::path masterFile(const std::filesystem::path& folder);

// The file of a database, found without regard to case; empty when there is none or the
// name is not a plain database name.
std::optional<std::filesystem::path> findDatabaseFile(const std::filesystem::path& folder, const std::string& database);

// Every database of the server (not master), as file stem and path.
std::vector<std::pair<std::string, std::filesystem::path>> databaseFiles(const std::filesystem::path& folder);

// Every file of the server as schema name and path: master first, then its databases.
std::vector<std::pair<std::string, std::filesystem::path>> serverFiles(const std::filesystem::path& folder);

bool isPlainDatabaseName(const std::string& name);

// The tables every database file and master.db carry.
extern const char* const kDatabaseCatalogue;
extern const char* const kMasterCatalogue;

} // namespace dalport::embedded
