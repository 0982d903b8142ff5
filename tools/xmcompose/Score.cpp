#include "tools/xmcompose/Score.h"

#include <cctype>
#include <stdexcept>
#include <string>

namespace zov {

namespace {

[[noreturn]] void bad(std::string_view what, std::string_view text)
{
    throw std::invalid_argument(std::string(what) + ": \"" + std::string(text) + "\"");
}

int parseCount(std::string_view digits, std::string_view token)
{
    if (digits.empty() || digits.size() > 3)
        bad("bad length", token);
    int value = 0;
    for (char c : digits) {
        if (!std::isdigit(static_cast<unsigned char>(c)))
            bad("bad length", token);
        value = value * 10 + (c - '0');
    }
    if (value == 0)
        bad("zero length", token);
    return value;
}

} // namespace

int noteNumber(std::string_view name)
{
    static const int kSemitone[] = {9, 11, 0, 2, 4, 5, 7}; // A..G
    if (name.size() < 2 || name.size() > 3 || name[0] < 'A' || name[0] > 'G')
        bad("bad note", name);
    int semitone = kSemitone[name[0] - 'A'];
    std::size_t at = 1;
    if (name[at] == '#' || name[at] == 'b') {
        semitone += name[at] == '#' ? 1 : -1;
        ++at;
    }
    if (at + 1 != name.size() || name[at] < '0' || name[at] > '7')
        bad("bad note", name);
    const int note = 12 * (name[at] - '0') + semitone + 1;
    if (note < 1 || note > 96)
        bad("note out of range", name);
    return note;
}

std::vector<PhraseNote> parsePhrase(std::string_view text)
{
    std::vector<PhraseNote> out;
    int row = 0;
    std::size_t i = 0;
    while (i < text.size()) {
        if (text[i] == ' ') {
            ++i;
            continue;
        }
        const std::size_t end = std::min(text.find(' ', i), text.size());
        const std::string_view token = text.substr(i, end - i);
        const std::size_t colon = token.find(':');
        if (colon == std::string_view::npos)
            bad("missing length", token);
        const std::string_view pitch = token.substr(0, colon);
        PhraseNote n;
        n.row = row;
        n.length = parseCount(token.substr(colon + 1), token);
        n.note = pitch == "-" ? 0 : noteNumber(pitch);
        out.push_back(n);
        row += n.length;
        i = end;
    }
    return out;
}

int phraseRows(const std::vector<PhraseNote>& phrase)
{
    return phrase.empty() ? 0 : phrase.back().row + phrase.back().length;
}

XmCell& Track::cell(int row)
{
    if (row < 0 || row >= pattern_.rows())
        throw std::invalid_argument("row " + std::to_string(row) + " outside a pattern of " +
                                    std::to_string(pattern_.rows()));
    return pattern_.at(row, channel_);
}

Track& Track::note(int row, int note, int instrument, int volume)
{
    XmCell& c = cell(row);
    c.note = static_cast<std::uint8_t>(note);
    c.instrument = static_cast<std::uint8_t>(instrument);
    c.volume = 0;
    if (volume >= 0)
        this->volume(row, volume);
    return *this;
}

Track& Track::volume(int row, int volume)
{
    if (volume < 0 || volume > 64)
        throw std::invalid_argument("volume " + std::to_string(volume) + " outside 0..64");
    cell(row).volume = static_cast<std::uint8_t>(0x10 + volume);
    return *this;
}

Track& Track::effect(int row, int type, int param)
{
    XmCell& c = cell(row);
    c.effect = static_cast<std::uint8_t>(type);
    c.param = static_cast<std::uint8_t>(param);
    return *this;
}

void steps(Track& track, int row, std::string_view pattern, const StepMap& map)
{
    int at = row;
    for (char c : pattern) {
        if (c == ' ')
            continue; // spaces group the rows for reading, they are not rows
        if (c != '.') {
            const auto found = map.find(c);
            if (found == map.end())
                bad("unknown step", pattern);
            const Step& s = found->second;
            if (s.note != 0 || s.instrument != 0)
                track.note(at, s.note, s.instrument, s.volume);
            else if (s.volume >= 0)
                track.volume(at, s.volume);
            if (s.effect != 0 || s.param != 0)
                track.effect(at, s.effect, s.param);
        }
        ++at;
    }
}

} // namespace zov
