// LWOB reading from memory, then object building from what was read. The
// texture picture names are dropped first: building would look for them
// on disk.
#include "fuzz/FuzzSupport.h"
#include "lwo/LwoReader.h"
#include "lwo/ObjectBuilder.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    zov::fuzz::QuietSink quiet;
    zov::ScopedDiagnosticSink scope(quiet);
    zov::LwoReader reader;
    if (!reader.parse(data, size))
        return 0;
    zov::LwoObjectData object = reader.takeResult();
    for (zov::LwoSurface& surface : object.surfaces)
        for (zov::LwoTextureDef* texture : {&surface.colourTexture, &surface.transparencyTexture}) {
            texture->hasImage = false;
            texture->imageName.clear();
        }
    zov::buildObject(object);
    return 0;
}
