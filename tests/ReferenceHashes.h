#pragma once

// The checked-in tables of reference pictures: one "name hash" line per
// picture in DIR/hashes.txt, the hash an FNV-1a over the pixel words. With
// ZOV_UPDATE_REFERENCE set, the tests write the pictures and a new table
// instead of comparing.

#include "image/Bitmap.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <map>
#include <string>

namespace zov::reference {

using HashTable = std::map<std::string, std::uint32_t>;

inline bool updating() { return std::getenv("ZOV_UPDATE_REFERENCE") != nullptr; }

// FNV-1a over the pixel words, low byte first.
inline std::uint32_t pixelHash(const Bitmap& b)
{
    std::uint32_t h = 2166136261u;
    for (std::size_t i = 0; i < b.pixelCount(); ++i)
        for (int k = 0; k < 4; ++k) {
            h ^= (b.pixels()[i] >> (8 * k)) & 0xFFu;
            h *= 16777619u;
        }
    return h;
}

inline HashTable readHashes(const std::string& dir)
{
    HashTable table;
    std::ifstream in(dir + "/hashes.txt");
    std::string name, hash;
    while (in >> name >> hash)
        table[name] = static_cast<std::uint32_t>(std::stoul(hash, nullptr, 16));
    return table;
}

inline void writeHashes(const std::string& dir, const HashTable& table)
{
    std::ofstream out(dir + "/hashes.txt");
    for (const auto& [name, hash] : table) {
        char line[128];
        std::snprintf(line, sizeof line, "%s %08x\n", name.c_str(), hash);
        out << line;
    }
}

} // namespace zov::reference
