#include "show/capture/WavWriter.h"

#include "show/capture/CaptureFiles.h"

#include <algorithm>
#include <cerrno>
#include <cmath>
#include <cstring>

#include <fcntl.h>
#include <unistd.h>

namespace zov {

namespace {

constexpr std::size_t kHeaderBytes = 44;

void put16(std::uint8_t* at, std::uint32_t value)
{
    at[0] = static_cast<std::uint8_t>(value);
    at[1] = static_cast<std::uint8_t>(value >> 8);
}

void put32(std::uint8_t* at, std::uint32_t value)
{
    put16(at, value & 0xFFFF);
    put16(at + 2, value >> 16);
}

// A canonical 44-byte header of 16-bit stereo PCM with dataBytes of samples.
void makeHeader(std::uint8_t* h, int sampleRate, std::uint32_t dataBytes)
{
    std::memcpy(h, "RIFF", 4);
    put32(h + 4, 36 + dataBytes);
    std::memcpy(h + 8, "WAVEfmt ", 8);
    put32(h + 16, 16);
    put16(h + 20, 1); // PCM
    put16(h + 22, 2);
    put32(h + 24, static_cast<std::uint32_t>(sampleRate));
    put32(h + 28, static_cast<std::uint32_t>(sampleRate) * 4);
    put16(h + 32, 4);
    put16(h + 34, 16);
    std::memcpy(h + 36, "data", 4);
    put32(h + 40, dataBytes);
}

} // namespace

WavWriter::WavWriter(std::size_t maxFrames) : pcm_(4 * maxFrames) {}

WavWriter::~WavWriter()
{
    if (fd_ >= 0)
        ::close(fd_);
}

bool WavWriter::fail(int errorNumber, std::string& error)
{
    error = "cannot write " + path_ + ": " + std::strerror(errorNumber != 0 ? errorNumber : EIO);
    return false;
}

bool WavWriter::open(const std::string& path, int sampleRate, std::string& error)
{
    path_ = path;
    sampleRate_ = sampleRate;
    frames_ = 0;
    fileBytes_ = 0;
    fd_ = ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    if (fd_ < 0)
        return fail(errno, error);
    std::uint8_t header[kHeaderBytes];
    makeHeader(header, sampleRate, 0);
    return writeAll(fd_, header, kHeaderBytes, fileBytes_) || fail(errno, error);
}

bool WavWriter::write(const float* leftRight, std::size_t frames, std::string& error)
{
    if (fd_ < 0) {
        error = "cannot write " + path_ + ": it is not open";
        return false;
    }
    frames = std::min(frames, pcm_.size() / 4);
    for (std::size_t i = 0; i < 2 * frames; ++i) {
        const float v = std::clamp(leftRight[i], -1.0f, 1.0f);
        put16(&pcm_[2 * i], static_cast<std::uint16_t>(static_cast<std::int16_t>(std::lrint(v * 32767.0f))));
    }
    if (!writeAll(fd_, pcm_.data(), 4 * frames, fileBytes_))
        return fail(errno, error);
    frames_ += static_cast<std::int64_t>(frames);
    return true;
}

bool WavWriter::finish(std::int64_t frames, std::string& error)
{
    if (fd_ < 0) {
        error = "cannot write " + path_ + ": it is not open";
        return false;
    }
    // A WAV counts its bytes in 32 bits: past that the sizes say "as much
    // as there is", as streaming writers do.
    const std::uint64_t bytes = static_cast<std::uint64_t>(std::clamp<std::int64_t>(frames, 0, frames_)) * 4;
    const auto end = static_cast<std::int64_t>(kHeaderBytes + bytes);
    std::uint8_t header[kHeaderBytes];
    makeHeader(header, sampleRate_, bytes + 36 > 0xFFFFFFFFu ? 0xFFFFFFFFu - 36 : static_cast<std::uint32_t>(bytes));
    errno = 0;
    const bool ok = (fileBytes_ <= end || ::ftruncate(fd_, end) == 0) &&
                    ::pwrite(fd_, header, kHeaderBytes, 0) == static_cast<ssize_t>(kHeaderBytes);
    int errorNumber = 0;
    return closeAfter(fd_, ok, errorNumber) || fail(errorNumber, error);
}

} // namespace zov
