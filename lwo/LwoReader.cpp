#include "lwo/LwoReader.h"

#include "lwo/LwoChunkReaders.h"

#include "image/Diagnostics.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <new>
#include <string_view>
#include <utility>

namespace zov {

namespace {

constexpr std::size_t kHeaderBytes = 12; // "FORM", size, "LWOB"

enum class Loaded { Bytes, NotOpened, TooLarge };

// The FORM as far as the file holds it: a stated size past the end of the
// file makes the reader allocate nothing beyond the file.
Loaded loadForm(const char* fileName, std::vector<std::uint8_t>& bytes)
{
    std::error_code error;
    const std::uint64_t fileBytes = std::filesystem::file_size(fileName, error);
    std::ifstream in(fileName, std::ios::binary);
    if (error || !in)
        return Loaded::NotOpened;
    std::uint8_t header[8] = {};
    in.read(reinterpret_cast<char*>(header), sizeof header);
    const std::size_t headerBytes = static_cast<std::size_t>(in.gcount());
    std::uint64_t wanted = fileBytes;
    if (headerBytes == sizeof header)
        wanted = std::min(wanted, std::uint64_t{ByteCursor(header + 4, 4).u32()} + 8);
    if (wanted > kLwoMaxFileBytes)
        return Loaded::TooLarge;
    try {
        bytes.resize(static_cast<std::size_t>(std::max<std::uint64_t>(wanted, headerBytes)));
    } catch (const std::bad_alloc&) {
        return Loaded::TooLarge;
    }
    std::copy_n(header, headerBytes, bytes.begin());
    in.read(reinterpret_cast<char*>(bytes.data() + headerBytes),
            static_cast<std::streamsize>(bytes.size() - headerBytes));
    bytes.resize(headerBytes + static_cast<std::size_t>(in.gcount())); // the file may have shrunk meanwhile
    return Loaded::Bytes;
}

int openError(const char* fileName)
{
    std::error_code error;
    if (std::filesystem::is_directory(fileName, error))
        return EISDIR;
    std::FILE* f = std::fopen(fileName, "rb");
    const int number = f ? EIO : errno;
    if (f)
        std::fclose(f);
    return number;
}

// Where the walk of top-level chunks stopped short of the FORM's end: a
// chunk there says it is longer than what is left.
std::uint64_t walkedEnd(const LwoObjectData& data)
{
    std::uint64_t at = kHeaderBytes;
    for (const LwoChunkInfo& chunk : data.chunks)
        at += 8 + std::uint64_t{chunk.size} + (chunk.size & 1);
    return at;
}

// The user's line for a file read() took in; none when it is whole.
void reportDamage(const char* fileName, const std::vector<std::uint8_t>& bytes, const LwoObjectData& data,
                  bool parsed)
{
    if (bytes.empty())
        reportFileProblem(fileName, "empty file");
    else if (!parsed)
        reportFileProblem(fileName, "not a LightWave object (no FORM...LWOB header)");
    else if (const std::uint64_t stated = std::uint64_t{data.formSize} + 8; stated > bytes.size())
        reportFileProblem(fileName, "cut short: " + std::to_string(bytes.size()) + " of the " +
                                        std::to_string(stated) + " bytes its header gives");
    else if (walkedEnd(data) < stated)
        reportFileProblem(fileName, "chunk " + std::to_string(data.chunks.size() + 1) +
                                        " claims more bytes than the object holds; it and the rest are skipped");
}

} // namespace

void LwoReader::read(const char* fileName)
{
    data_ = {};
    std::vector<std::uint8_t> bytes;
    switch (fileName ? loadForm(fileName, bytes) : Loaded::NotOpened) {
    case Loaded::NotOpened:
        if (fileName)
            reportFileProblem(fileName, openFailureReason(openError(fileName)));
        return;
    case Loaded::TooLarge:
        std::fputs("DATA WAS NULL \n", stdout);
        reportFileProblem(fileName, "larger than the " + std::to_string(kLwoMaxFileBytes >> 20) +
                                        " MB an object may be");
        return;
    case Loaded::Bytes: break;
    }
    const bool parsed = parse(bytes.data(), bytes.size());
    if (!parsed)
        std::fputs("COULDNT READ LWO FILE..... \n", stdout);
    reportDamage(fileName, bytes, data_, parsed);
}

bool LwoReader::parse(const std::uint8_t* bytes, std::size_t n)
{
    data_ = {};
    if (n < 8 || std::memcmp(bytes, "FORM", 4) != 0)
        return false;
    data_.formSize = ByteCursor(bytes + 4, 4).u32();
    // 64-bit, so that no stated size wraps; bytes past the FORM are not ours.
    const std::size_t end = static_cast<std::size_t>(std::min<std::uint64_t>(std::uint64_t{data_.formSize} + 8, n));
    if (end < kHeaderBytes || std::memcmp(bytes + 8, "LWOB", 4) != 0)
        return false;
    walkChunks(bytes + kHeaderBytes, end - kHeaderBytes);
    resolvePolygons();
    return true;
}

void LwoReader::walkChunks(const std::uint8_t* bytes, std::size_t n)
{
    ByteCursor form(bytes, n);
    while (form.fits(8)) {
        LwoChunkInfo info;
        form.id(info.id);
        info.size = form.u32();
        if (!form.fits(info.size))
            break;
        data_.chunks.push_back(info);
        const ByteCursor chunk = form.take(info.size);
        if (info.size % 2 != 0)
            form.skip(1); // IFF pads odd chunks to an even length
        const std::string_view id(info.id, 4);
        if (id == "PNTS")
            data_.points = readPoints(chunk);
        else if (id == "SRFS")
            data_.surfaceNames = readSurfaceNames(chunk);
        else if (id == "POLS")
            data_.polygons = readPolygons(chunk);
        else if (id == "SURF" && data_.surfaces.size() < kLwoMaxSurfaces)
            data_.surfaces.push_back(readSurface(chunk));
    }
}

// Drops polygons that name points the file does not have, and finds each
// polygon's SURF chunk: its number names an SRFS entry, and the SURF chunk
// of that name is the one, whatever the order of the SURF chunks. Where the
// names do not tell, the number counts SURF chunks in file order.
void LwoReader::resolvePolygons()
{
    const std::size_t pointCount = data_.points.size();
    std::erase_if(data_.polygons, [pointCount](const LwoPolygon& p) {
        return std::any_of(p.indices.begin(), p.indices.end(),
                           [pointCount](std::uint16_t i) { return i >= pointCount; });
    });

    // Each number is looked up once; numbers are signed 16-bit in the file.
    constexpr int kUnresolved = -2;
    const std::size_t numbers = std::max(data_.surfaceNames.size(), data_.surfaces.size());
    std::vector<int> byNumber(std::min<std::size_t>(numbers, 0x8000), kUnresolved);
    const auto resolve = [this](std::size_t k) {
        if (k < data_.surfaceNames.size()) {
            const auto named = std::find_if(data_.surfaces.begin(), data_.surfaces.end(),
                                            [&](const LwoSurface& s) { return s.name == data_.surfaceNames[k]; });
            if (named != data_.surfaces.end())
                return static_cast<int>(named - data_.surfaces.begin());
        }
        return k < data_.surfaces.size() ? static_cast<int>(k) : -1;
    };
    for (LwoPolygon& p : data_.polygons) {
        const std::size_t k = std::size_t{p.surfaceNumber} - 1;
        if (p.surfaceNumber == 0 || k >= byNumber.size()) {
            p.surface = -1;
            continue;
        }
        if (byNumber[k] == kUnresolved)
            byNumber[k] = resolve(k);
        p.surface = byNumber[k];
    }
}

LwoObjectData LwoReader::takeResult()
{
    return std::exchange(data_, {});
}

} // namespace zov
