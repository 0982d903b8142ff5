// datakit: makes the show's pictures, font and objects.
//
//   datakit DATA_DIR                  writes every file of data/ into DATA_DIR
//   datakit --contact-sheet OUT.png   one picture showing the whole kit
//   datakit --icon OUT.png            the programs' icon
//
// The pictures under the show's effects are judged with demotool
// render-part, which renders the real parts.
#include "tools/datakit/ContactSheet.h"
#include "tools/datakit/Kit.h"
#include "tools/datakit/Pictures.h"

#include <cstdio>
#include <cstring>
#include <string>

namespace {

int usage()
{
    std::fputs("usage: datakit DATA_DIR | --contact-sheet OUT.png | --icon OUT.png\n", stderr);
    return 2;
}

int help()
{
    std::fputs("Usage: datakit DATA_DIR\n"
               "  or:  datakit OPTION OUT\n"
               "Draws the pictures, the 8x8 font and the LightWave objects of the ZOV demo's\n"
               "data/ folder, and writes them into DATA_DIR. The same bytes come out on every run.\n"
               "\n"
               "  --contact-sheet OUT.png  one picture showing every picture of the kit with its\n"
               "                           name and size\n"
               "  --icon OUT.png           the programs' 256x256 icon\n"
               "  --help                   print this and exit\n"
               "  --version                print the version and exit\n",
               stdout);
    return 0;
}

bool writeIcon(const char* path)
{
    const zov::kit::Icon icon = zov::kit::makeIcon();
    return zov::kit::writeCanvasPng(icon.picture, path, &icon.alpha);
}

} // namespace

int main(int argc, char** argv)
{
    if (argc == 2 && std::strcmp(argv[1], "--help") == 0)
        return help();
    if (argc == 2 && std::strcmp(argv[1], "--version") == 0) {
        std::puts("datakit " ZOV_VERSION);
        return 0;
    }
    if (argc != 2 && argc != 3)
        return usage();
    if (argc == 2 && argv[1][0] != '-')
        return zov::kit::writeKit(argv[1]) ? 0 : 1;
    if (argc == 3 && std::strcmp(argv[1], "--contact-sheet") == 0) {
        const auto sheet = zov::kit::makeContactSheet(zov::kit::makePictures());
        if (!zov::kit::writeCanvasPng(sheet, argv[2]))
            return 1;
        std::printf("wrote %s\n", argv[2]);
        return 0;
    }
    if (argc == 3 && std::strcmp(argv[1], "--icon") == 0) {
        if (!writeIcon(argv[2]))
            return 1;
        std::printf("wrote %s\n", argv[2]);
        return 0;
    }
    return usage();
}
