#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace zov {

// The folders that may hold data/ when --data is not given, in the order
// they are tried: the working directory, the program's folder, then the
// share folder of an installed copy (../share/zov from the program's
// folder), so that an installed prefix still works after it is moved.
std::vector<std::filesystem::path> dataSearchFolders(const std::filesystem::path& workingDirectory,
                                                     const std::filesystem::path& programDirectory);

// The folder that holds data/: the --data folder (itself data/, or holding
// it), else the first of dataSearchFolders() that holds one.
std::optional<std::filesystem::path> findDataRoot(const std::string& dataOption,
                                                  const std::filesystem::path& workingDirectory,
                                                  const std::filesystem::path& programDirectory);

// What the program says when findDataRoot() found nothing: where it looked
// and how to point it elsewhere.
std::string missingDataMessage(const std::string& program, const std::string& dataOption,
                               const std::filesystem::path& workingDirectory,
                               const std::filesystem::path& programDirectory);

} // namespace zov
