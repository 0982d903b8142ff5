#include "show/program/DataSearch.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <unistd.h>

using namespace zov;
namespace fs = std::filesystem;

namespace {

// An installed prefix: prefix/bin and prefix/share/zov/data.
struct InstalledPrefix {
    fs::path base = fs::temp_directory_path() / ("zov_prefix_" + std::to_string(::getpid()));
    fs::path bin = base / "moved" / "bin";
    fs::path share = base / "moved" / "share" / "zov";
    fs::path elsewhere = base / "elsewhere";
    InstalledPrefix()
    {
        fs::create_directories(bin);
        fs::create_directories(share / "data");
        fs::create_directories(elsewhere);
    }
    ~InstalledPrefix() { fs::remove_all(base); }
};

} // namespace

TEST(DataSearch, AnInstalledCopyFindsItsShareFolderLast)
{
    InstalledPrefix prefix;
    EXPECT_EQ(findDataRoot("", prefix.elsewhere, prefix.bin), prefix.share);
    // Found even through a path that is not normalised.
    EXPECT_EQ(findDataRoot("", prefix.elsewhere, prefix.bin / "." / ".." / "bin"), prefix.share);
    // Data beside the program or in the working directory comes first.
    fs::create_directories(prefix.bin / "data");
    EXPECT_EQ(findDataRoot("", prefix.elsewhere, prefix.bin), prefix.bin);
    fs::create_directories(prefix.elsewhere / "data");
    EXPECT_EQ(findDataRoot("", prefix.elsewhere, prefix.bin), prefix.elsewhere);
}

TEST(DataSearch, SaysWhereItLookedWhenNothingWasFound)
{
    const std::string message = missingDataMessage("demoplay", "", "/home/me", "/opt/zov/bin");
    EXPECT_EQ(message, "demoplay: no data/ folder found; looked in:\n"
                       "  /home/me\n"
                       "  /opt/zov/bin\n"
                       "  /opt/zov/share/zov\n"
                       "Give its place with --data DIR (see 'demoplay --help').\n");
    EXPECT_EQ(missingDataMessage("demoplay", "x/y", "/home/me", "/opt/zov/bin"), "demoplay: no data/ folder at x/y\n");
}

TEST(DataSearch, ADataEntryThatIsNoUsableFolderIsNamedInOneLine)
{
    InstalledPrefix prefix;
    const fs::path odd = prefix.elsewhere;
    struct Case {
        const char* name;
        void (*make)(const fs::path&);
        const char* problem;
    };
    const Case cases[] = {
        {"loop", [](const fs::path& p) { fs::create_symlink(p.filename(), p); }, "a loop of symbolic links"},
        {"file", [](const fs::path& p) { std::ofstream(p) << "x"; }, "a file, not a folder"},
        {"dangling", [](const fs::path& p) { fs::create_symlink("nowhere", p); }, "no such folder"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const fs::path data = odd / "data";
        fs::remove_all(data);
        c.make(data);
        EXPECT_EQ(dataFolderProblem(data), c.problem);
        // Given with --data, as the folder holding it or as itself: no data
        // root, and the one line names it.
        const std::string line = "demoplay: " + data.string() + ": " + c.problem + "\n";
        for (const fs::path& given : {odd, data}) {
            EXPECT_EQ(findDataRoot(given.string(), prefix.bin, prefix.bin), std::nullopt);
            EXPECT_EQ(missingDataMessage("demoplay", given.string(), prefix.bin, prefix.bin), line);
        }
        // Searched for, it is passed over for a usable one, else named.
        EXPECT_EQ(findDataRoot("", odd, prefix.bin), prefix.share);
        EXPECT_EQ(missingDataMessage("demoplay", "", odd, odd), line);
    }
    EXPECT_EQ(dataFolderProblem(prefix.share / "data"), "");
}
