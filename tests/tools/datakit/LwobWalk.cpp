#include "tests/tools/datakit/LwobWalk.h"

#include <bit>
#include <cstring>
#include <fstream>
#include <iterator>

namespace zov::test {

namespace {

struct Cursor {
    const std::vector<std::uint8_t>& b;
    std::size_t at;
    std::size_t end;

    bool has(std::size_t n) const { return at + n <= end; }
    std::uint32_t u16()
    {
        const std::uint32_t v = static_cast<std::uint32_t>(b[at] << 8 | b[at + 1]);
        at += 2;
        return v;
    }
    std::uint32_t u32()
    {
        const std::uint32_t hi = u16();
        return hi << 16 | u16();
    }
    float f32() { return std::bit_cast<float>(u32()); }
    std::string id()
    {
        std::string s(reinterpret_cast<const char*>(&b[at]), 4);
        at += 4;
        return s;
    }
    // NUL-terminated string padded to even length; empty error on overrun.
    bool paddedString(std::string& out)
    {
        std::size_t n = 0;
        while (at + n < end && b[at + n] != 0)
            ++n;
        if (at + n >= end)
            return false;
        out.assign(reinterpret_cast<const char*>(&b[at]), n);
        std::size_t used = n + 1;
        if (used % 2 != 0) {
            if (at + used >= end || b[at + used] != 0)
                return false;
            ++used;
        }
        at += used;
        return true;
    }
};

void walkSurface(Cursor c, WalkedLwob& out)
{
    WalkedSurface s;
    if (!c.paddedString(s.name)) {
        out.error = "SURF name";
        return;
    }
    while (c.at < c.end) {
        if (!c.has(6)) {
            out.error = "SURF sub-chunk header";
            return;
        }
        const std::string id = c.id();
        const std::uint32_t size = c.u16();
        if (!c.has(size) || size % 2 != 0) {
            out.error = "SURF sub-chunk size of " + id;
            return;
        }
        s.subChunks.push_back(id);
        Cursor sub{c.b, c.at, c.at + size};
        if (id == "COLR" && size >= 3)
            s.colour = static_cast<std::uint32_t>(c.b[c.at] << 16 | c.b[c.at + 1] << 8 | c.b[c.at + 2]);
        else if (id == "CTEX" && !sub.paddedString(s.textureType))
            out.error = "CTEX string";
        else if (id == "TFLG" && size == 2)
            s.textureFlags = static_cast<std::uint16_t>(sub.u16());
        else if ((id == "TSIZ" || id == "TCTR") && size == 12)
            for (float& v : id == "TSIZ" ? s.size : s.centre)
                v = sub.f32();
        else if (id == "TIMG" && !sub.paddedString(s.image))
            out.error = "TIMG string";
        c.at += size;
    }
    out.surfaces.push_back(s);
}

void walkChunk(const std::string& id, Cursor c, WalkedLwob& out)
{
    const std::size_t size = c.end - c.at;
    if (id == "PNTS") {
        if (size % 12 != 0)
            out.error = "PNTS size";
        while (c.has(12))
            out.points.push_back({c.f32(), c.f32(), c.f32()});
    } else if (id == "SRFS") {
        while (c.at < c.end) {
            std::string name;
            if (!c.paddedString(name)) {
                out.error = "SRFS name";
                return;
            }
            out.surfaceNames.push_back(name);
        }
    } else if (id == "POLS") {
        while (c.at < c.end) {
            if (!c.has(2)) {
                out.error = "POLS count";
                return;
            }
            WalkedPolygon p;
            const std::uint32_t n = c.u16();
            if (!c.has(2 * n + 2)) {
                out.error = "POLS polygon";
                return;
            }
            for (std::uint32_t i = 0; i < n; ++i)
                p.vertices.push_back(static_cast<std::uint16_t>(c.u16()));
            p.surface = static_cast<std::uint16_t>(c.u16());
            out.polygons.push_back(p);
        }
    } else if (id == "SURF") {
        walkSurface(c, out);
    }
}

} // namespace

WalkedLwob walkLwob(const std::vector<std::uint8_t>& bytes)
{
    WalkedLwob out;
    Cursor c{bytes, 0, bytes.size()};
    if (!c.has(12) || c.id() != "FORM") {
        out.error = "no FORM";
        return out;
    }
    const std::uint32_t formSize = c.u32();
    if (formSize + 8 != bytes.size()) {
        out.error = "FORM size does not match the file";
        return out;
    }
    if (c.id() != "LWOB") {
        out.error = "not LWOB";
        return out;
    }
    while (c.at < c.end && out.error.empty()) {
        if (!c.has(8)) {
            out.error = "chunk header";
            break;
        }
        const std::string id = c.id();
        const std::uint32_t size = c.u32();
        if (!c.has(size) || size % 2 != 0) {
            out.error = "chunk size of " + id;
            break;
        }
        out.chunks.push_back(id);
        walkChunk(id, Cursor{bytes, c.at, c.at + size}, out);
        c.at += size;
    }
    return out;
}

std::vector<std::uint8_t> readFileBytes(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

} // namespace zov::test
