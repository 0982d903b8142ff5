// datakit: makes the show's pictures, font and objects.
//
//   datakit DATA_DIR                  writes every file of data/ into DATA_DIR
//   datakit --contact-sheet OUT.png   one picture showing the whole kit
//   datakit --composites DIR          pictures over their backgrounds, as the
//                                     show layers them, to judge readability
#include "tools/datakit/ContactSheet.h"
#include "tools/datakit/Kit.h"
#include "tools/datakit/Preview.h"

#include <cstdio>
#include <cstring>
#include <string>

namespace {

int usage()
{
    std::fputs("usage: datakit DATA_DIR | --contact-sheet OUT.png | --composites DIR\n", stderr);
    return 2;
}

} // namespace

int main(int argc, char** argv)
{
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
    if (argc == 3 && std::strcmp(argv[1], "--composites") == 0)
        return zov::kit::writeComposites(argv[2]) ? 0 : 1;
    return usage();
}
