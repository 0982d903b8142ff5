#pragma once

#include "show/capture/LockstepShow.h"

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <span>
#include <string>
#include <vector>

namespace zov {

// Writes bytes as the whole of the file at path with plain system calls
// (nothing allocated); false, with the reason in error, when any of them
// did not reach it: a full disk included, which shows at write or close.
bool writeWholeFile(const char* path, std::span<const std::uint8_t> bytes, std::string& error);

// Whether name is that of a file a capture writes into its folder:
// frame-NNNNNN.png (six digits or more), music.wav or positions.tsv.
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
// has stopped), after a header line. Streams through a buffer made once.
class PositionLog {
public:
    PositionLog();
    ~PositionLog();
    PositionLog(const PositionLog&) = delete;
    PositionLog& operator=(const PositionLog&) = delete;

    bool open(const std::string& path, std::string& error);
    bool add(const FrameFacts& facts, std::string& error);
    bool finish(std::string& error);

private:
    bool fail(std::string& error);

    std::string path_;
    std::FILE* file_ = nullptr;
    std::vector<char> buffer_;
};

} // namespace zov
