#include "show/program/DataSearch.h"

#include <algorithm>
#include <cerrno>
#include <system_error>

#include <unistd.h>

namespace zov {

namespace fs = std::filesystem;

std::vector<fs::path> dataSearchFolders(const fs::path& workingDirectory, const fs::path& programDirectory)
{
    std::vector<fs::path> folders;
    auto add = [&folders](const fs::path& folder) {
        if (std::find(folders.begin(), folders.end(), folder) == folders.end())
            folders.push_back(folder);
    };
    if (!workingDirectory.empty())
        add(workingDirectory);
    if (!programDirectory.empty()) {
        add(programDirectory);
        add((programDirectory / ".." / "share" / "zov").lexically_normal());
    }
    return folders;
}

std::string dataFolderProblem(const fs::path& path)
{
    std::error_code ec;
    const fs::file_status status = fs::status(path, ec);
    if (ec == std::errc::too_many_symbolic_link_levels)
        return "a loop of symbolic links";
    if (status.type() == fs::file_type::not_found)
        return "no such folder";
    if (ec)
        return "cannot be read: " + ec.message();
    if (status.type() == fs::file_type::regular)
        return "a file, not a folder";
    if (status.type() != fs::file_type::directory)
        return "not a folder";
    // The show opens its files by name: searching the folder is what it needs.
    if (::access(path.c_str(), X_OK) != 0)
        return "cannot be read: " + std::generic_category().message(errno);
    return "";
}

namespace {

bool usable(const fs::path& path)
{
    return dataFolderProblem(path).empty();
}

// Something is there, whatever it is or points to.
bool present(const fs::path& path)
{
    std::error_code ec;
    return fs::exists(fs::symlink_status(path, ec));
}

// --data as an absolute path without a trailing separator.
fs::path givenFolder(const std::string& dataOption)
{
    std::error_code ec;
    fs::path given = fs::absolute(fs::path(dataOption), ec).lexically_normal();
    if (given.filename().empty())
        given = given.parent_path();
    return given;
}

// The first of paths that is there but cannot serve as data/.
std::optional<fs::path> firstUnusable(const std::vector<fs::path>& paths)
{
    for (const fs::path& path : paths)
        if (present(path) && !usable(path))
            return path;
    return std::nullopt;
}

} // namespace

std::optional<fs::path> findDataRoot(const std::string& dataOption, const fs::path& workingDirectory,
                                     const fs::path& programDirectory)
{
    if (!dataOption.empty()) {
        const fs::path given = givenFolder(dataOption);
        if (usable(given / "data"))
            return given;
        if (given.filename() == "data" && usable(given))
            return given.parent_path();
        return std::nullopt;
    }
    for (const fs::path& folder : dataSearchFolders(workingDirectory, programDirectory))
        if (usable(folder / "data"))
            return folder;
    return std::nullopt;
}

std::string missingDataMessage(const std::string& program, const std::string& dataOption,
                               const fs::path& workingDirectory, const fs::path& programDirectory)
{
    std::vector<fs::path> candidates;
    if (!dataOption.empty()) {
        const fs::path given = givenFolder(dataOption);
        candidates = {given / "data", given};
    } else {
        for (const fs::path& folder : dataSearchFolders(workingDirectory, programDirectory))
            candidates.push_back(folder / "data");
    }
    if (const auto odd = firstUnusable(candidates))
        return program + ": " + odd->string() + ": " + dataFolderProblem(*odd) + "\n";
    if (!dataOption.empty())
        return program + ": no data/ folder at " + dataOption + "\n";
    std::string message = program + ": no data/ folder found; looked in:\n";
    for (const fs::path& folder : dataSearchFolders(workingDirectory, programDirectory))
        message += "  " + folder.string() + "\n";
    message += "Give its place with --data DIR (see '" + program + " --help').\n";
    return message;
}

} // namespace zov
