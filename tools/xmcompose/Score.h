#pragma once

#include "tools/xmcompose/XmModule.h"

#include <map>
#include <string_view>
#include <vector>

namespace zov {

// Writing music into patterns by hand: note names, phrases and step strings.
// A malformed phrase or a note outside its pattern throws std::invalid_argument,
// so a slip in the score stops the build instead of going quiet.

// FastTracker 2 names with the octave after the letter: "C4" = 49 (middle C),
// "A#3" = "Bb3" = 47. libopenmpt prints these one octave higher.
int noteNumber(std::string_view name);

struct PhraseNote {
    int row;    // from the phrase start
    int length; // rows
    int note;   // 0 for a rest
};

// "D5:6 E5:2 -:4": note or '-' (rest), colon, length in rows.
std::vector<PhraseNote> parsePhrase(std::string_view text);
int phraseRows(const std::vector<PhraseNote>& phrase);

// One channel of a pattern.
class Track {
public:
    Track(XmPattern& pattern, int channel) : pattern_(pattern), channel_(channel) {}

    // volume 0..64 goes into the volume column; -1 leaves it empty.
    Track& note(int row, int note, int instrument, int volume = -1);
    Track& volume(int row, int volume);
    Track& effect(int row, int type, int param);
    Track& keyOff(int row) { return note(row, kXmNoteOff, 0); }
    int rows() const { return pattern_.rows(); }

private:
    XmCell& cell(int row);

    XmPattern& pattern_;
    int channel_;
};

// What a character of a step string writes.
struct Step {
    int note = 0;
    int instrument = 0;
    int volume = -1;
    int effect = 0;
    int param = 0;
};
using StepMap = std::map<char, Step>;

// One character per row from `row` on; '.' writes nothing, spaces only group.
void steps(Track& track, int row, std::string_view pattern, const StepMap& map);

} // namespace zov
