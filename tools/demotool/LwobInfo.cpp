#include "lwo/LwoReader.h"
#include "tools/demotool/FileInfo.h"

#include <algorithm>
#include <cstdio>
#include <map>

namespace zov::tool {

namespace {

std::string quoted(const std::string& text)
{
    return "\"" + text + "\"";
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
        out += separator + std::to_string(count) + " with " + std::to_string(corners) + " corners";
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
        out += std::string(" ") + c.id + " (" + std::to_string(c.size) + " bytes)";
    out += "\n";
    return true;
}

} // namespace zov::tool
