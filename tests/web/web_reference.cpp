// The native side of the web page's frame test, run in the folder that
// holds data/:
//   web_reference frames FPS             one lockstep frame in the middle of
//                                        each part and of the end picture:
//                                        lines "at NAME FRAME" (among the
//                                        show's own)
//   web_reference compare FPS FRAME FILE the native lockstep frame against
//                                        FILE, the page's canvas bytes (R, G,
//                                        B, A, row by row): one line, then
//                                        status 0 when identical or within
//                                        kLeastPsnr, 1 otherwise
#include "image/Bitmap.h"
#include "show/ShowSchedule.h"
#include "show/ShowTable.h"
#include "show/capture/LockstepShow.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace zov {
namespace {

// Where the two math libraries round a sine differently a pixel may move by
// a step; a picture that differs more has gone wrong.
constexpr double kLeastPsnr = 45.0;

int listFrames(int fps)
{
    LockstepShow show(fps);
    const ShowSchedule* schedule = show.begin(0) == 0 && show.session() ? show.session()->schedule() : nullptr;
    if (schedule == nullptr) {
        std::fprintf(stderr, "web_reference: the show has no schedule\n");
        return 1;
    }
    const auto& entries = schedule->entries();
    for (std::size_t i = 0; i < entries.size(); ++i) {
        const double from = schedule->startOf(i).seconds();
        const double to = i + 1 < entries.size() ? schedule->startOf(i + 1).seconds() : from + kEndPictureSeconds;
        const int part = entries[i].part;
        std::printf("at %s %lld\n", part == ShowSchedule::kEndPicture ? "end" : kShowParts[part].name,
                    static_cast<long long>(std::floor((from + to) / 2 * fps)));
    }
    return 0;
}

int compare(int fps, std::int64_t frame, const char* file)
{
    std::ifstream in(file, std::ios::binary);
    const std::vector<std::uint8_t> page((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    LockstepShow show(fps);
    const LockstepFrame* drawn = show.begin(0) == 0 && show.openAt(frame) ? show.next() : nullptr;
    if (drawn == nullptr) {
        std::printf("frame %lld: the native show has no such frame\n", static_cast<long long>(frame));
        return 1;
    }
    const Bitmap& native = *drawn->picture;
    const int width = native.width(), height = native.height();
    if (page.size() != native.pixelCount() * 4) {
        std::printf("frame %lld: the page gave %zu bytes, not %zu\n", static_cast<long long>(frame), page.size(),
                    native.pixelCount() * 4);
        return 1;
    }
    std::int64_t differing = 0;
    double squares = 0.0;
    int largest = 0, left = width, right = -1, top = height, bottom = -1;
    for (int y = 0; y < height; ++y) {
        const std::uint32_t* row = native.row(y);
        for (int x = 0; x < width; ++x) {
            const std::uint8_t* rgba = &page[(static_cast<std::size_t>(y) * width + x) * 4];
            const int native3[3] = {int(row[x] >> 16 & 0xFF), int(row[x] >> 8 & 0xFF), int(row[x] & 0xFF)};
            int most = 0;
            for (int c = 0; c < 3; ++c) {
                const int d = std::abs(native3[c] - rgba[c]);
                squares += d * d;
                most = std::max(most, d);
            }
            if (most == 0)
                continue;
            ++differing;
            largest = std::max(largest, most);
            left = std::min(left, x);
            right = std::max(right, x);
            top = std::min(top, y);
            bottom = std::max(bottom, y);
        }
    }
    const double seconds = static_cast<double>(frame) / fps;
    const int part = drawn->facts.part;
    const char* name = part < 0 ? "end picture" : kShowParts[part].name;
    if (differing == 0) {
        std::printf("frame %lld (%s, %.3f s): identical\n", static_cast<long long>(frame), name, seconds);
        return 0;
    }
    const double meanSquare = squares / (static_cast<double>(native.pixelCount()) * 3);
    const double psnr = 10.0 * std::log10(255.0 * 255.0 / meanSquare);
    std::printf("frame %lld (%s, %.3f s): %lld of %zu pixels differ, by at most %d, within x %d..%d, y %d..%d; "
                "PSNR %.1f dB\n",
                static_cast<long long>(frame), name, seconds, static_cast<long long>(differing), native.pixelCount(),
                largest, left, right, top, bottom, psnr);
    return psnr >= kLeastPsnr ? 0 : 1;
}

} // namespace
} // namespace zov

int main(int argc, char** argv)
{
    const std::string command = argc > 1 ? argv[1] : "";
    if (command == "frames" && argc == 3)
        return zov::listFrames(std::atoi(argv[2]));
    if (command == "compare" && argc == 5)
        return zov::compare(std::atoi(argv[2]), std::atoll(argv[3]), argv[4]);
    std::fprintf(stderr, "usage: web_reference frames FPS | compare FPS FRAME FILE\n");
    return 2;
}
