// xmcompose <out.xm>: writes the show's music and says what it wrote.
#include "tools/xmcompose/Song.h"
#include "tools/xmcompose/XmTiming.h"
#include "tools/xmcompose/XmWriter.h"

#include <cstdio>
#include <cstring>
#include <exception>

namespace {

struct Section {
    const char* name;
    int firstOrder;
    int lastOrder;
};

double sectionSeconds(const zov::XmModule& m, const Section& s, zov::XmTempo& tempo)
{
    double seconds = 0.0;
    for (int o = s.firstOrder; o <= s.lastOrder; ++o)
        seconds += zov::orderSeconds(m, o, tempo);
    return seconds;
}

} // namespace

int main(int argc, char** argv)
{
    if (argc == 2 && std::strcmp(argv[1], "--help") == 0) {
        std::fputs("Usage: xmcompose OUT.xm\n"
                   "Composes the music of the ZOV demo, writes it to OUT.xm as a FastTracker 2\n"
                   "module and prints where each part of the show falls in it. The same bytes\n"
                   "come out on every run.\n"
                   "\n"
                   "  --help     print this and exit\n"
                   "  --version  print the version and exit\n",
                   stdout);
        return 0;
    }
    if (argc == 2 && std::strcmp(argv[1], "--version") == 0) {
        std::puts("xmcompose " ZOV_VERSION);
        return 0;
    }
    if (argc != 2 || argv[1][0] == '-') {
        std::fprintf(stderr, "usage: xmcompose <out.xm>\n");
        return 2;
    }
    try {
        const zov::XmModule m = zov::composeShow();
        const std::size_t bytes = zov::encodeXm(m).size();
        if (!zov::writeXm(m, argv[1]))
            return 1;
        std::printf("xmcompose: wrote %s: %zu bytes, %zu orders (restart %d), %zu patterns, %d channels, "
                    "%zu instruments\n",
                    argv[1], bytes, m.orders.size(), m.restartPosition, m.patterns.size(), m.channels,
                    m.instruments.size());
        // The show's walk through the song: to the end, round the loop, and on to order 4.
        const int last = static_cast<int>(m.orders.size()) - 1;
        const Section sections[] = {{"opening", zov::kIntroOrder, zov::kDriveOrder - 1},
                                    {"drive", zov::kDriveOrder, zov::kLightOrder - 1},
                                    {"light", zov::kLightOrder, last},
                                    {"close", m.restartPosition, zov::kLightOrder - 2}};
        zov::XmTempo tempo{m.speed, m.bpm};
        double at = 0.0;
        for (const Section& s : sections) {
            const double seconds = sectionSeconds(m, s, tempo);
            std::printf("xmcompose: %-7s orders %d-%d  %6.2f s to %6.2f s\n", s.name, s.firstOrder, s.lastOrder, at,
                        at + seconds);
            at += seconds;
        }
        return 0;
    } catch (const std::exception& e) {
        std::fprintf(stderr, "xmcompose: %s\n", e.what());
        return 1;
    }
}
