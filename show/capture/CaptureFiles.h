#pragma once

#include "show/capture/LockstepShow.h"

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <vector>

namespace zov {

// Writes size bytes to fd with plain system calls, going on after an
// interruption; reached grows by what got there. False when not all did,
// with errno saying why (ENOSPC for a write that took nothing).
bool writeAll(int fd, const void* bytes, std::size_t size, std::int64_t& reached);
// Closes fd and leaves it -1 after the last writes, whose outcome ok gives
// (errno saying why when false); a failed close counts too, since a full
// disk may show only there. The first error goes to errorNumber.
bool closeAfter(int& fd, bool ok, int& errorNumber);

// Writes bytes as the whole of the file at path with plain system calls
// (nothing allocated); false, with the reason in error, when any of them
// did not reach it: a full disk included, which shows at write or close.
bool writeWholeFile(const char* path, std::span<const std::uint8_t> bytes, std::string& error);
// The same, written under path + ".part" and then renamed: a file under
// the name is always whole, and a failure leaves neither name.
bool writeThenName(const char* path, std::span<const std::uint8_t> bytes, std::string& error);
inline constexpr char kPartialSuffix[] = ".part";

// Whether name is that of a file a capture writes into its folder:
// frame-NNNNNN.png (six digits or more), music.wav or positions.tsv, and a
// frame's picture cut short under its partial name (frame-NNNNNN.png.part).
bool isCaptureFileName(const std::string& name);
// The files of an earlier capture in directory (none when it does not
// exist), sorted; false, with the reason in error, when it cannot be read.
bool findCaptureFiles(const std::string& directory, std::vector<std::string>& paths, std::string& error);

// The capture's frame file names, "DIR/frame-000000.png" on, made in one
// buffer.
class FrameNames {
public:
    explicit FrameNames(const std::string& directory);
    const char* name(std::int64_t frame);

private:
    std::vector<char> buffer_;
    std::size_t prefix_;
};

// DIR/positions.tsv: for each frame its number, show time, part (1 to 4,
// "end" for the end picture) and music order and row ("-" once the music
// has stopped), after a header line. Each line goes straight to the file.
class PositionLog {
public:
    PositionLog() = default;
    ~PositionLog();
    PositionLog(const PositionLog&) = delete;
    PositionLog& operator=(const PositionLog&) = delete;

    bool open(const std::string& path, std::string& error);
    // False when the line did not all reach the file: it then does not count.
    bool add(const FrameFacts& facts, std::string& error);
    // The file's length in whole lines, header included: a mark to finish at.
    std::int64_t bytesWritten() const { return bytes_; }
    // Ends the file at `bytes` (at most the whole lines written) and closes.
    bool finish(std::int64_t bytes, std::string& error);
    bool finish(std::string& error) { return finish(bytes_, error); }

private:
    bool fail(int errorNumber, std::string& error);

    std::string path_;
    int fd_ = -1;
    std::int64_t bytes_ = 0;     // whole lines
    std::int64_t fileBytes_ = 0; // in the file, a line cut short included
    char line_[128];
};

} // namespace zov
