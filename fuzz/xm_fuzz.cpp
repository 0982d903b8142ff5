// Module loading through the music player's own path (player, mixing
// layer, module source), from memory, then a little playing and seeking.
#include "fuzz/FuzzSupport.h"
#include "platform/AudioMusicPlayer.h"
#include "platform/OfflineAudioLayer.h"
#include "platform/openmpt/ModuleSource.h"

#include <vector>

namespace {

// Hands the player the fuzzer's bytes whatever path it asks for.
class MemoryOpener final : public zov::SourceOpener {
public:
    MemoryOpener(const std::uint8_t* data, std::size_t size) : bytes_(data, data + size) {}
    Result openStream(const char*, int) override
    {
        Result result;
        result.error = zov::kAudioErrorFileForm;
        return result;
    }
    Result openModule(const char* path, int rate) override { return zov::openModuleBytes(bytes_, rate, path); }

private:
    std::vector<std::uint8_t> bytes_;
};

void keepRunning(int) {}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    zov::fuzz::QuietSink quiet;
    zov::ScopedDiagnosticSink scope(quiet);
    MemoryOpener opener(data, size);
    zov::OfflineAudioLayer layer(opener);
    zov::AudioMusicPlayer player(layer, keepRunning);
    if (!player.load("fuzz.xm"))
        return 0;
    player.start();
    layer.step(2048);
    // A position taken from the file's own bytes: mostly out of range.
    const int order = size > 70 ? data[70] : 1;
    const int row = size > 64 ? data[64] : 3;
    player.playAt(order, row);
    layer.step(2048);
    player.order();
    player.row();
    player.shutdown();
    return 0;
}
