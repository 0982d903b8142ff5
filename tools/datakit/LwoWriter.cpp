#include "tools/datakit/LwoWriter.h"

#include "tools/datakit/FileBytes.h"

#include <bit>
#include <stdexcept>

namespace zov::kit {

namespace {

class BigEndianWriter {
public:
    std::vector<std::uint8_t>& bytes() { return out_; }
    std::size_t size() const { return out_.size(); }

    void u8(std::uint8_t v) { out_.push_back(v); }
    void u16(std::uint32_t v)
    {
        u8(static_cast<std::uint8_t>(v >> 8));
        u8(static_cast<std::uint8_t>(v));
    }
    void u32(std::uint32_t v)
    {
        u16(v >> 16);
        u16(v & 0xFFFF);
    }
    void f32(float v) { u32(std::bit_cast<std::uint32_t>(v)); }
    void id(const char* fourCc)
    {
        for (int i = 0; i < 4; ++i)
            u8(static_cast<std::uint8_t>(fourCc[i]));
    }
    // NUL-terminated, plus one zero byte when name and terminator are odd.
    void paddedString(const std::string& s)
    {
        for (char c : s)
            u8(static_cast<std::uint8_t>(c));
        u8(0);
        if ((s.size() + 1) % 2 != 0)
            u8(0);
    }
    void patch32(std::size_t at, std::uint32_t v)
    {
        for (int i = 0; i < 4; ++i)
            out_[at + i] = static_cast<std::uint8_t>(v >> (24 - 8 * i));
    }
    void patch16(std::size_t at, std::uint32_t v)
    {
        out_[at] = static_cast<std::uint8_t>(v >> 8);
        out_[at + 1] = static_cast<std::uint8_t>(v);
    }

private:
    std::vector<std::uint8_t> out_;
};

// Opens a chunk with a 32-bit size, or a SURF sub-chunk with a 16-bit one,
// and fills the size in when closed.
class Chunk {
public:
    Chunk(BigEndianWriter& w, const char* fourCc, bool shortSize) : w_(w), short_(shortSize)
    {
        w_.id(fourCc);
        at_ = w_.size();
        if (short_)
            w_.u16(0);
        else
            w_.u32(0);
    }
    ~Chunk()
    {
        const std::size_t length = w_.size() - at_ - (short_ ? 2 : 4);
        if (short_)
            w_.patch16(at_, static_cast<std::uint32_t>(length));
        else
            w_.patch32(at_, static_cast<std::uint32_t>(length));
    }
    Chunk(const Chunk&) = delete;
    Chunk& operator=(const Chunk&) = delete;

private:
    BigEndianWriter& w_;
    bool short_;
    std::size_t at_ = 0;
};

void writeTexture(BigEndianWriter& w, const LwoTexture& t)
{
    {
        Chunk c(w, "CTEX", true);
        w.paddedString(t.type);
    }
    {
        Chunk c(w, "TFLG", true);
        w.u16(t.flags);
    }
    {
        Chunk c(w, "TSIZ", true);
        for (float v : t.size)
            w.f32(v);
    }
    {
        Chunk c(w, "TCTR", true);
        for (float v : t.centre)
            w.f32(v);
    }
    if (!t.image.empty()) {
        Chunk c(w, "TIMG", true);
        w.paddedString(t.image);
    }
}

void writeSurface(BigEndianWriter& w, const LwoSurface& s)
{
    Chunk surf(w, "SURF", false);
    w.paddedString(s.name);
    {
        Chunk c(w, "COLR", true);
        w.u8(static_cast<std::uint8_t>(s.colour >> 16));
        w.u8(static_cast<std::uint8_t>(s.colour >> 8));
        w.u8(static_cast<std::uint8_t>(s.colour));
        w.u8(0);
    }
    if (s.colourTexture)
        writeTexture(w, *s.colourTexture);
}

void check(const LwoObject& o)
{
    // Strings sit in sub-chunks with 16-bit sizes.
    for (const LwoSurface& s : o.surfaces) {
        if (s.colourTexture && (s.colourTexture->type.size() > 1000 || s.colourTexture->image.size() > 1000))
            throw std::length_error("LWOB texture string too long");
    }
    if (o.points.size() > 0x10000)
        throw std::length_error("LWOB holds at most 65536 points");
    for (const LwoPolygon& p : o.polygons) {
        if (p.vertices.empty() || p.vertices.size() > 1023)
            throw std::invalid_argument("LWOB polygon needs 1 to 1023 corners");
        for (std::uint16_t v : p.vertices)
            if (v >= o.points.size())
                throw std::out_of_range("LWOB polygon corner names no point");
        if (p.surface < 1 || p.surface > o.surfaces.size())
            throw std::out_of_range("LWOB polygon names no surface");
    }
}

} // namespace

std::vector<std::uint8_t> encodeLwob(const LwoObject& object)
{
    check(object);
    BigEndianWriter w;
    {
        Chunk form(w, "FORM", false);
        w.id("LWOB");
        {
            Chunk c(w, "PNTS", false);
            for (const auto& p : object.points)
                for (float v : p)
                    w.f32(v);
        }
        {
            Chunk c(w, "SRFS", false);
            for (const LwoSurface& s : object.surfaces)
                w.paddedString(s.name);
        }
        {
            Chunk c(w, "POLS", false);
            for (const LwoPolygon& p : object.polygons) {
                w.u16(static_cast<std::uint32_t>(p.vertices.size()));
                for (std::uint16_t v : p.vertices)
                    w.u16(v);
                w.u16(p.surface);
            }
        }
        for (const LwoSurface& s : object.surfaces)
            writeSurface(w, s);
    }
    return std::move(w.bytes());
}

bool writeLwob(const LwoObject& object, const std::string& path)
{
    return writeFileBytes(encodeLwob(object), path);
}

} // namespace zov::kit
