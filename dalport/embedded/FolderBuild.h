#pragma once
// A registry folder is made whole or not at all: built in a private folder beside its
// place, on the same file system, and renamed into it once complete. Creating and
// restoring a registry both go this way.

#include <filesystem>
#include <functional>

namespace dalport::embedded {

enum class ExistingFolder {
    Refuse,  // a folder in the place that is not empty is refused before anything is built
    Replace, // it is replaced, under the registry's exclusive lock
};

// Builds the folder with `build` (given the temporary folder) and renames it into place.
// Refuses a place on a network file system. With Replace, refuses at once when another
// program has the registry open; the old folder goes only once the new one is in place,
// and comes back if the rename fails. Throws std::runtime_error (or what `build` throws),
// leaving the place as it was.
void buildFolderInPlace(const std::filesystem::path& folder,
                        const std::function<void(const std::filesystem::path& temporary)>& build,
                        ExistingFolder existing);

} // namespace dalport::embedded
