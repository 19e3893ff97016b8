#pragma once
// The script files of database/embedded and the roles scripts of database/mssql as the
// build embedded them: the path below database ("embedded/quorin/schema.sql",
// "embedded/quorin/procedures/uspLookup.sql", "mssql/04-quorin-roles.sql", ...) and the
// text.

#include <string_view>
#include <vector>

namespace quorin::schema {

struct EmbeddedScriptFile {
    std::string_view path;
    std::string_view text;
};

const std::vector<EmbeddedScriptFile>& embeddedScriptFiles();

} // namespace quorin::schema
