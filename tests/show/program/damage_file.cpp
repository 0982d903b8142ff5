// Damages one file of a copy of data/ the way a user's copy gets damaged,
// deterministically, for the bad-data table (bad_data.sh):
//   damage_file PATH missing|empty|directory|file|loop|unreadable|cut:N|random|lie|fastmusic|oneorder
// "file" puts a file where PATH was (a file or a folder), "loop" a symbolic
// link to itself, "unreadable" takes every permission away; "lie" rewrites the sizes or counts in the header of a JPEG, PCX, XM or
// LWOB; "fastmusic" and "oneorder" write short modules (the first runs a
// whole show in about two seconds, the second never gets past order 0).
#include "tests/platform/TinyXm.h"

#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <string>
#include <vector>

namespace {

namespace fs = std::filesystem;
using Bytes = std::vector<std::uint8_t>;

Bytes readBytes(const fs::path& path)
{
    std::ifstream in(path, std::ios::binary);
    return Bytes(std::istreambuf_iterator<char>(in), {});
}

bool writeBytes(const fs::path& path, const Bytes& bytes)
{
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    return static_cast<bool>(out);
}

void put16le(Bytes& b, std::size_t at, int v)
{
    b[at] = static_cast<std::uint8_t>(v & 0xFF);
    b[at + 1] = static_cast<std::uint8_t>((v >> 8) & 0xFF);
}

// The frame header (SOF0..SOF2) says 65000 x 65000.
bool lieJpeg(Bytes& b)
{
    for (std::size_t i = 2; i + 9 < b.size(); ++i)
        if (b[i] == 0xFF && b[i + 1] >= 0xC0 && b[i + 1] <= 0xC2) {
            for (std::size_t at : {i + 5, i + 7}) {
                b[at] = 65000 >> 8;
                b[at + 1] = 65000 & 0xFF;
            }
            return true;
        }
    return false;
}

// The header's window says 65535 x 65535.
bool liePcx(Bytes& b)
{
    if (b.size() < 128)
        return false;
    put16le(b, 4, 0);
    put16le(b, 6, 0);
    put16le(b, 8, 65534);
    put16le(b, 10, 65534);
    return true;
}

// More orders, patterns and instruments than the file holds.
bool lieXm(Bytes& b)
{
    if (b.size() < 80)
        return false;
    put16le(b, 64, 256); // song length
    put16le(b, 70, 256); // patterns
    put16le(b, 72, 128); // instruments
    return true;
}

// The first chunk after FORM....LWOB says it runs far past the file.
bool lieLwo(Bytes& b)
{
    if (b.size() < 20)
        return false;
    for (std::size_t i = 16; i < 20; ++i)
        b[i] = i == 16 ? 0x7F : 0xF0;
    return true;
}

zov::test::TinyXm fastSong()
{
    // Orders 0..5 then back to 0: every loop of the show ends within two
    // passes of sixteen-row patterns at the fastest tempo.
    zov::test::TinyXm song;
    song.patterns = 6;
    song.orders = {0, 1, 2, 3, 4, 5};
    song.restart = 0;
    song.speed = 1;
    song.bpm = 255;
    return song;
}

} // namespace

int main(int argc, char** argv)
{
    if (argc != 3) {
        std::fprintf(stderr,
                     "usage: %s PATH missing|empty|directory|file|loop|unreadable|cut:N|random|lie|fastmusic|oneorder\n",
                     argv[0]);
        return 2;
    }
    const fs::path file = argv[1];
    const std::string mode = argv[2];
    std::error_code ec;
    if (mode == "missing")
        return fs::remove(file, ec) ? 0 : 1;
    if (mode == "directory")
        return fs::remove(file, ec) && fs::create_directory(file, ec) ? 0 : 1;
    if (mode == "file")
        return fs::remove_all(file, ec) != static_cast<std::uintmax_t>(-1) && writeBytes(file, {'x', '\n'}) ? 0 : 1;
    if (mode == "loop") {
        fs::remove_all(file, ec);
        fs::create_symlink(file.filename(), file, ec);
        return ec ? 1 : 0;
    }
    if (mode == "unreadable") {
        fs::permissions(file, fs::perms::none, ec);
        return ec ? 1 : 0;
    }
    if (mode == "empty")
        return writeBytes(file, {}) ? 0 : 1;
    if (mode == "fastmusic")
        return writeBytes(file, zov::test::makeTinyXm(fastSong())) ? 0 : 1;
    if (mode == "oneorder") {
        zov::test::TinyXm song = fastSong();
        song.patterns = 1;
        song.orders = {0};
        return writeBytes(file, zov::test::makeTinyXm(song)) ? 0 : 1;
    }
    Bytes bytes = readBytes(file);
    if (mode.rfind("cut:", 0) == 0) {
        bytes.resize(std::min<std::size_t>(bytes.size(), std::stoul(mode.substr(4))));
    } else if (mode == "random") {
        std::mt19937 rng(20261208);
        for (auto& b : bytes)
            b = static_cast<std::uint8_t>(rng());
    } else if (mode == "lie") {
        const std::string ext = file.extension().string();
        const bool lied = ext == ".jpg"   ? lieJpeg(bytes)
                          : ext == ".pcx" ? liePcx(bytes)
                          : ext == ".xm"  ? lieXm(bytes)
                                          : ext == ".lwo" && lieLwo(bytes);
        if (!lied) {
            std::fprintf(stderr, "%s: no header to lie in\n", argv[1]);
            return 1;
        }
    } else {
        std::fprintf(stderr, "unknown damage '%s'\n", mode.c_str());
        return 2;
    }
    return writeBytes(file, bytes) ? 0 : 1;
}
