#include "show/program/DataSearch.h"

#include <algorithm>

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

std::optional<fs::path> findDataRoot(const std::string& dataOption, const fs::path& workingDirectory,
                                     const fs::path& programDirectory)
{
    std::error_code ec;
    auto holdsData = [&ec](const fs::path& dir) { return fs::is_directory(dir / "data", ec); };
    if (!dataOption.empty()) {
        fs::path given = fs::absolute(fs::path(dataOption), ec);
        if (holdsData(given))
            return given;
        given = given.lexically_normal();
        if (given.filename().empty())
            given = given.parent_path();
        if (given.filename() == "data" && fs::is_directory(given, ec))
            return given.parent_path();
        return std::nullopt;
    }
    for (const fs::path& folder : dataSearchFolders(workingDirectory, programDirectory))
        if (holdsData(folder))
            return folder;
    return std::nullopt;
}

std::string missingDataMessage(const std::string& program, const std::string& dataOption,
                               const fs::path& workingDirectory, const fs::path& programDirectory)
{
    if (!dataOption.empty())
        return program + ": no data/ folder at " + dataOption + "\n";
    std::string message = program + ": no data/ folder found; looked in:\n";
    for (const fs::path& folder : dataSearchFolders(workingDirectory, programDirectory))
        message += "  " + folder.string() + "\n";
    message += "Give its place with --data DIR (see '" + program + " --help').\n";
    return message;
}

} // namespace zov
