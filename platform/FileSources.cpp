#include "platform/FileSources.h"

#include "image/Diagnostics.h"
#include "platform/AudioLayer.h"
#include "platform/MusicPlayer.h"
#include "platform/XmLayout.h"

#include <SDL.h>
#include <libopenmpt/libopenmpt.hpp>

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

// Passes what libopenmpt says about a damaged module on, one report a line.
void reportLines(const char* name, const std::string& text)
{
    std::istringstream lines(text);
    for (std::string line; std::getline(lines, line);)
        if (!line.empty())
            reportFileProblem(name, line);
}

// A module decoded by libopenmpt; loops forever when looping, going on at
// the module's restart position after its last order.
class ModuleSource final : public AudioSource {
public:
    ModuleSource(const std::vector<std::uint8_t>& bytes, int rate, const char* name)
        : module_(bytes, log_), rate_(rate)
    {
        module_.set_repeat_count(0);
        songSeconds_ = module_.get_duration_seconds();
        reportLines(name, log_.str());
        log_.str({});
    }

    std::size_t render(float* lr, std::size_t frames) override
    {
        const std::int32_t orderBefore = module_.get_current_order();
        const std::int32_t rowBefore = module_.get_current_row();
        const std::size_t got = module_.read_interleaved_stereo(rate_, frames, lr);
        if (got < frames) {
            std::fill(lr + 2 * got, lr + 2 * frames, 0.0f);
            if (!ended_)
                ++ends_;
            ended_ = true;
        } else if (wentBack(orderBefore, rowBefore)) {
            ++ends_;
        }
        return got;
    }

    void setLooping(bool looping) override
    {
        looping_ = looping;
        module_.set_repeat_count(looping ? -1 : 0);
    }
    bool looping() const override { return looping_; }

    std::uint32_t position() const override
    {
        return modulePosition(module_.get_current_order(), module_.get_current_row());
    }

    bool seek(std::uint32_t position) override
    {
        const std::int32_t order = positionOrder(position);
        const std::int32_t row = positionRow(position);
        if (order >= module_.get_num_orders())
            return false;
        const std::int32_t pattern = module_.get_order_pattern(order);
        if (pattern < 0 || row >= module_.get_pattern_num_rows(pattern))
            return false;
        module_.set_position_order_row(order, row);
        ended_ = false;
        endsAtSeek_ = ends_;
        return true;
    }

    std::uint64_t endCount() const override { return ends_; }
    int fileChannels() const override { return 2; }

private:
    // Back to the restart position. An earlier order says it at once. Within
    // one order (a module of one order) a row going back may also be a
    // pattern loop, so it counts only once the time played covers one more
    // whole song; libopenmpt's clock keeps running across loops.
    bool wentBack(std::int32_t orderBefore, std::int32_t rowBefore)
    {
        const std::int32_t order = module_.get_current_order();
        if (order < orderBefore)
            return true;
        if (order != orderBefore || module_.get_current_row() >= rowBefore)
            return false;
        constexpr double kSlackSeconds = 0.1;
        const auto passes = static_cast<double>(ends_ - endsAtSeek_ + 1);
        return module_.get_position_seconds() + kSlackSeconds >= passes * songSeconds_;
    }

    std::ostringstream log_; // libopenmpt's remarks on the file are not the show's output
    openmpt::module module_;
    std::int32_t rate_;
    double songSeconds_ = 0.0;
    std::uint64_t endsAtSeek_ = 0; // a seek sets libopenmpt's clock to the song time
    bool looping_ = false;
    bool ended_ = false;
    std::uint64_t ends_ = 0;
};

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
    std::string reason;
    const auto bytes = readWholeFile(path, reason);
    if (!bytes) {
        reportFileProblem(path ? path : "(null)", reason);
        Result result;
        result.error = kAudioErrorFileOpen;
        return result;
    }
    return openModuleBytes(*bytes, rate, path);
}

SourceOpener::Result openModuleBytes(const std::vector<std::uint8_t>& bytes, int rate, const char* name)
{
    SourceOpener::Result result;
    if (bytes.empty()) {
        reportFileProblem(name, "empty file");
        result.error = kAudioErrorFileForm;
        return result;
    }
    // Walked before libopenmpt sees the bytes so that every input of the
    // fuzz target goes through it too.
    const std::uint64_t described = xmDescribedSize(bytes.data(), bytes.size());
    try {
        result.source = std::make_unique<ModuleSource>(bytes, rate, name);
        if (described > bytes.size())
            reportFileProblem(name, "cut short: " + std::to_string(bytes.size()) +
                                        " bytes where its headers describe at least " +
                                        std::to_string(described) + "; the missing part plays silent");
    } catch (const std::exception& e) {
        reportFileProblem(name, std::string("not a module libopenmpt can play (") + e.what() + ")");
        result.error = kAudioErrorFileForm;
    }
    return result;
}

} // namespace zov
