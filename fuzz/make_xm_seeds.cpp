// Writes small modules of different shapes into a folder, as seeds of the
// module targets: one pattern or several, short and long patterns, orders
// that repeat, a restart position past the start, extreme speeds.
//   make_xm_seeds FOLDER
#include "tests/platform/TinyXm.h"

#include <cstdio>
#include <filesystem>
#include <string>
#include <utility>
#include <vector>

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: make_xm_seeds FOLDER\n");
        return 2;
    }
    using zov::test::TinyXm;
    std::vector<std::pair<std::string, TinyXm>> seeds;
    seeds.emplace_back("tiny.xm", TinyXm{});
    TinyXm one;
    one.patterns = 1;
    one.orders = {0};
    seeds.emplace_back("one-order.xm", one);
    TinyXm repeats;
    repeats.orders = {0, 1, 0, 2, 1, 2};
    repeats.restart = 3;
    seeds.emplace_back("restart.xm", repeats);
    TinyXm shortRows;
    shortRows.rows = 1;
    shortRows.speed = 1;
    shortRows.bpm = 255;
    seeds.emplace_back("one-row.xm", shortRows);
    TinyXm longRows;
    longRows.patterns = 2;
    longRows.rows = 256;
    longRows.orders = {1, 0};
    longRows.speed = 31;
    longRows.bpm = 32;
    seeds.emplace_back("long-rows.xm", longRows);

    const std::filesystem::path folder = argv[1];
    std::error_code ec;
    std::filesystem::create_directories(folder, ec);
    for (const auto& [name, song] : seeds)
        zov::test::writeFile((folder / name).string(), zov::test::makeTinyXm(song));
    return 0;
}
