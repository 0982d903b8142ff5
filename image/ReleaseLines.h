#pragma once

namespace zov {

// The lines objects print on standard output as they are released
// ("deallocated internal Bitmap buffer \n"). The show's own objects live
// until its last line; a program that tears them down afterwards does so
// under a QuietReleases, so that the last line stays the last.
void announceRelease(const char* line);

// While one lives, released objects print nothing. Nests.
class QuietReleases {
public:
    QuietReleases();
    ~QuietReleases();
    QuietReleases(const QuietReleases&) = delete;
    QuietReleases& operator=(const QuietReleases&) = delete;
};

} // namespace zov
