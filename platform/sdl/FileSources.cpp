#include "platform/sdl/FileSources.h"

#include "platform/openmpt/ModuleSource.h"

#include "image/Diagnostics.h"
#include "platform/AudioLayer.h"
#include "platform/MusicPlayer.h"

#include <SDL.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <sstream>
#include <string>
#include <vector>

namespace zov {

namespace {

bool readable(const char* path)
{
    std::FILE* f = std::fopen(path, "rb");
    if (!f)
        return false;
    std::fclose(f);
    return true;
}

// A sample stream loaded whole and converted to stereo floats at the
// output rate.
class WavSource final : public AudioSource {
public:
    WavSource(std::vector<float> samples, int channels) : samples_(std::move(samples)), channels_(channels) {}

    std::size_t render(float* lr, std::size_t frames) override
    {
        const std::size_t total = samples_.size() / 2;
        std::size_t done = 0;
        while (done < frames) {
            if (at_ >= total) {
                if (!ended_)
                    ++ends_;
                ended_ = !looping_;
                if (!looping_ || total == 0)
                    break;
                at_ = 0;
            }
            const std::size_t n = std::min(frames - done, total - at_);
            std::memcpy(lr + 2 * done, samples_.data() + 2 * at_, n * 2 * sizeof(float));
            at_ += n;
            done += n;
            ended_ = false;
        }
        std::fill(lr + 2 * done, lr + 2 * frames, 0.0f);
        return done;
    }

    void setLooping(bool looping) override { looping_ = looping; }
    bool looping() const override { return looping_; }
    std::uint32_t position() const override { return static_cast<std::uint32_t>(at_); }

    bool seek(std::uint32_t frame) override
    {
        if (frame > samples_.size() / 2)
            return false;
        at_ = frame;
        ended_ = false;
        return true;
    }

    std::uint64_t endCount() const override { return ends_; }
    int fileChannels() const override { return channels_; }

private:
    std::vector<float> samples_;
    int channels_;
    std::size_t at_ = 0;
    bool looping_ = false;
    bool ended_ = false;
    std::uint64_t ends_ = 0;
};

bool convertToStereoFloat(const SDL_AudioSpec& wav, const Uint8* data, Uint32 length, int rate,
                          std::vector<float>& out)
{
    SDL_AudioCVT cvt;
    if (SDL_BuildAudioCVT(&cvt, wav.format, wav.channels, wav.freq, AUDIO_F32SYS, 2, rate) < 0)
        return false;
    std::vector<Uint8> buffer(static_cast<std::size_t>(length) * static_cast<std::size_t>(std::max(cvt.len_mult, 1)));
    std::memcpy(buffer.data(), data, length);
    cvt.len = static_cast<int>(length);
    cvt.buf = buffer.data();
    if (cvt.needed && SDL_ConvertAudio(&cvt) != 0)
        return false;
    const std::size_t bytes = cvt.needed ? static_cast<std::size_t>(cvt.len_cvt) : length;
    out.resize(bytes / sizeof(float) / 2 * 2);
    std::memcpy(out.data(), buffer.data(), out.size() * sizeof(float));
    return true;
}

} // namespace

SourceOpener::Result FileSourceOpener::openStream(const char* path, int rate)
{
    Result result;
    if (!readable(path)) {
        result.error = kAudioErrorFileOpen;
        return result;
    }
    SDL_AudioSpec wav;
    Uint8* data = nullptr;
    Uint32 length = 0;
    if (!SDL_LoadWAV(path, &wav, &data, &length)) {
        result.error = kAudioErrorFileForm;
        return result;
    }
    std::vector<float> samples;
    const bool converted = convertToStereoFloat(wav, data, length, rate, samples);
    SDL_FreeWAV(data);
    if (!converted) {
        result.error = kAudioErrorFileForm;
        return result;
    }
    result.source = std::make_unique<WavSource>(std::move(samples), wav.channels);
    return result;
}

SourceOpener::Result FileSourceOpener::openModule(const char* path, int rate)
{
    return openModuleFile(path, rate);
}

} // namespace zov
