#include "lwo/LwoReader.h"
#include "tools/demotool/FileInfo.h"

#include <algorithm>
#include <cstdio>
#include <map>

namespace zov::tool {

namespace {

// Names in objects are Latin-1: each byte is the code point of its character.
std::string utf8(const std::string& latin1)
{
    std::string out;
    for (const char c : latin1) {
        const auto b = static_cast<unsigned char>(c);
        if (b < 0x80) {
            out += c;
        } else {
            out += static_cast<char>(0xC0 | (b >> 6));
            out += static_cast<char>(0x80 | (b & 0x3F));
        }
    }
    return out;
}

std::string quoted(const std::string& latin1)
{
    std::string out = "\"";
    out += utf8(latin1);
    out += '"';
    return out;
}

std::string textureText(const char* what, const LwoTextureDef& t)
{
    if (t.typeName.empty())
        return "";
    std::string text = std::string(", ") + what + " texture " + quoted(t.typeName);
    if (t.hasImage)
        text += " image " + quoted(t.imageName);
    return text;
}

} // namespace

bool describeLwob(const std::vector<std::uint8_t>& bytes, std::string& out, std::string& problem)
{
    LwoReader reader;
    if (!reader.parse(bytes.data(), bytes.size())) {
        problem = "not a LightWave object (FORM of type LWOB)";
        return false;
    }
    const LwoObjectData& data = reader.result();
    char line[256];
    out += "LWOB object\n";
    out += "  points: " + std::to_string(data.points.size()) + "\n";
    std::map<std::size_t, std::size_t> byCorners;
    for (const LwoPolygon& p : data.polygons)
        ++byCorners[p.indices.size()];
    out += "  polygons: " + std::to_string(data.polygons.size());
    const char* separator = " (";
    for (const auto& [corners, count] : byCorners) {
        out += separator + std::to_string(count) + " with " + counted(corners, "corner");
        separator = ", ";
    }
    out += byCorners.empty() ? "\n" : ")\n";
    out += "  surfaces: " + std::to_string(data.surfaces.size()) + "\n";
    for (const LwoSurface& s : data.surfaces) {
        std::snprintf(line, sizeof line, "    %s: colour %u %u %u, flags 0x%04x", quoted(s.name).c_str(),
                      (s.colour >> 16) & 0xFF, (s.colour >> 8) & 0xFF, s.colour & 0xFF, s.flags);
        out += line + textureText("colour", s.colourTexture) + textureText("transparency", s.transparencyTexture) +
               "\n";
    }
    if (!data.points.empty()) {
        Vec3 lo = data.points[0], hi = lo;
        for (const Vec3& p : data.points) {
            lo.set(std::min(lo.x, p.x), std::min(lo.y, p.y), std::min(lo.z, p.z));
            hi.set(std::max(hi.x, p.x), std::max(hi.y, p.y), std::max(hi.z, p.z));
        }
        std::snprintf(line, sizeof line, "  bounds: x %g to %g, y %g to %g, z %g to %g\n", lo.x, hi.x, lo.y, hi.y,
                      lo.z, hi.z);
        out += line;
    }
    out += "  chunks:";
    for (const LwoChunkInfo& c : data.chunks)
        out += " " + utf8(c.id) + " (" + counted(c.size, "byte") + ")";
    out += "\n";
    return true;
}

} // namespace zov::tool
