#include "platform/openmpt/ModuleSource.h"

#include "image/Diagnostics.h"
#include "platform/AudioLayer.h"
#include "platform/MusicPlayer.h"
#include "platform/XmLayout.h"

#include <libopenmpt/libopenmpt.hpp>

#include <algorithm>
#include <sstream>
#include <string>
#include <vector>

namespace zov {

namespace {

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
        filterLength_ = module_.get_render_param(openmpt::module::RENDER_INTERPOLATIONFILTER_LENGTH);
        songSeconds_ = module_.get_duration_seconds();
        const std::vector<std::string> ctls = module_.get_ctls();
        hasTempo_ = std::find(ctls.begin(), ctls.end(), kTempoCtl) != ctls.end();
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

    void setDraft(bool draft) override
    {
        // One tap: the nearest sample, several times cheaper than the
        // default filter.
        module_.set_render_param(openmpt::module::RENDER_INTERPOLATIONFILTER_LENGTH, draft ? 1 : filterLength_);
    }

    bool setTempo(double factor) override
    {
        if (!hasTempo_ || !(factor > 0.0))
            return false;
        module_.ctl_set_floatingpoint(kTempoCtl, factor);
        return true;
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

    static constexpr const char* kTempoCtl = "play.tempo_factor";

    std::ostringstream log_; // libopenmpt's remarks on the file are not the show's output
    openmpt::module module_;
    std::int32_t rate_;
    std::int32_t filterLength_ = 0;
    double songSeconds_ = 0.0;
    std::uint64_t endsAtSeek_ = 0; // a seek sets libopenmpt's clock to the song time
    bool hasTempo_ = false; // the library has the tempo control
    bool looping_ = false;
    bool ended_ = false;
    std::uint64_t ends_ = 0;
};

} // namespace

SourceOpener::Result openModuleFile(const char* path, int rate)
{
    std::string reason;
    const auto bytes = readWholeFile(path, reason);
    if (!bytes) {
        reportFileProblem(path ? path : "(null)", reason);
        SourceOpener::Result result;
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

SourceOpener::Result ModuleFileOpener::openStream(const char*, int)
{
    SourceOpener::Result result;
    result.error = kAudioErrorFileForm;
    return result;
}

} // namespace zov
