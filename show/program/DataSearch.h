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

// Why a data/ folder at path cannot be used, in a user's words ("a loop of
// symbolic links", "a file, not a folder", "cannot be read: ..."), or ""
// when it is a folder the program can open files in.
std::string dataFolderProblem(const std::filesystem::path& path);

// The folder that holds a usable data/: the --data folder (itself data/, or
// holding it), else the first of dataSearchFolders() that holds one.
std::optional<std::filesystem::path> findDataRoot(const std::string& dataOption,
                                                  const std::filesystem::path& workingDirectory,
                                                  const std::filesystem::path& programDirectory);

// What the program says when findDataRoot() found nothing: the one data/
// (or --data folder) that is there but unusable and why, else where it
// looked and how to point it elsewhere.
std::string missingDataMessage(const std::string& program, const std::string& dataOption,
                               const std::filesystem::path& workingDirectory,
                               const std::filesystem::path& programDirectory);

} // namespace zov
