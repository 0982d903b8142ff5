#pragma once

#include "tools/datakit/Canvas.h"
#include "tools/datakit/LwoWriter.h"

#include <string>
#include <vector>

namespace zov::kit {

enum class Format { Jpeg, Pcx };

// One picture of the kit, by its path below the data folder.
struct KitPicture {
    std::string file;
    Format format;
    Canvas canvas;
};

struct KitObject {
    std::string file;
    LwoObject object;
};

// The files of the kit: pictures with their size, objects with size 0.
struct KitFileSpec {
    const char* file;
    int width;
    int height;
};
const std::vector<KitFileSpec>& kitFiles();

// Every picture and object the show reads, in the order of kitFiles().
std::vector<KitPicture> makePictures();
std::vector<KitObject> makeObjects();

struct WrittenFile {
    std::string path;
    std::size_t bytes = 0;
};

// Writes the whole kit into `dir` (created if missing), printing one line per
// file. Returns false, after a line on standard error, when a file cannot be
// written.
bool writeKit(const std::string& dir, std::vector<WrittenFile>* written = nullptr);

} // namespace zov::kit
