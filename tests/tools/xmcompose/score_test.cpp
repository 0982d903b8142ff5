#include "tools/xmcompose/Score.h"
#include "tools/xmcompose/Tuning.h"
#include "tools/xmcompose/XmWriter.h"

#include <gtest/gtest.h>

#include <cmath>

namespace zov {
namespace {

TEST(Score, NoteNamesFollowFastTracker)
{
    EXPECT_EQ(noteNumber("C0"), 1);
    EXPECT_EQ(noteNumber("C4"), 49);
    EXPECT_EQ(noteNumber("A4"), 58);
    EXPECT_EQ(noteNumber("C5"), 61);
    EXPECT_EQ(noteNumber("B7"), 96);
    EXPECT_EQ(noteNumber("A#3"), noteNumber("Bb3"));
    EXPECT_EQ(noteNumber("E#4"), noteNumber("F4"));
    for (const char* bad : {"", "C", "H4", "C8", "Cb0", "C#", "c4", "C44", "C-4"})
        EXPECT_THROW(noteNumber(bad), std::invalid_argument) << bad;
}

TEST(Score, PhrasesLayNotesEndToEnd)
{
    const std::vector<PhraseNote> p = parsePhrase("D5:6 E5:2  -:4 Bb4:16");
    ASSERT_EQ(p.size(), 4u);
    EXPECT_EQ(p[0].row, 0);
    EXPECT_EQ(p[0].note, noteNumber("D5"));
    EXPECT_EQ(p[1].row, 6);
    EXPECT_EQ(p[2].row, 8);
    EXPECT_EQ(p[2].note, 0);
    EXPECT_EQ(p[3].row, 12);
    EXPECT_EQ(phraseRows(p), 28);
    EXPECT_EQ(phraseRows(parsePhrase("   ")), 0);
    for (const char* bad : {"D5", "D5:", "D5:x", "D5:0", "D5:4:", "X5:4", "D5:1000"})
        EXPECT_THROW(parsePhrase(bad), std::invalid_argument) << bad;
}

TEST(Score, StepsWriteOneRowPerCharacterAndStayInsideThePattern)
{
    XmPattern p(16, 2);
    Track t(p, 1);
    const StepMap map = {{'K', {49, 1, 64}}, {'v', {0, 0, 10}}, {'e', {0, 0, -1, 0xE, 0x93}}};
    steps(t, 2, "K.v. Ke", map);
    EXPECT_EQ(p.at(2, 1).note, 49);
    EXPECT_EQ(p.at(2, 1).volume, 0x50);
    EXPECT_TRUE(p.at(3, 1).empty());
    EXPECT_EQ(p.at(4, 1).note, 0); // volume only
    EXPECT_EQ(p.at(4, 1).volume, 0x1A);
    EXPECT_EQ(p.at(6, 1).instrument, 1); // the space took no row
    EXPECT_EQ(p.at(7, 1).effect, 0xE);
    EXPECT_EQ(p.at(7, 1).param, 0x93);
    EXPECT_TRUE(p.at(2, 0).empty());

    EXPECT_THROW(steps(t, 0, "Kx", map), std::invalid_argument);
    EXPECT_THROW(steps(t, 14, "K.K", map), std::invalid_argument);
    EXPECT_THROW(t.note(0, 49, 1, 65), std::invalid_argument);
    EXPECT_THROW(t.note(-1, 49, 1), std::invalid_argument);
}

TEST(Tuning, RateOnC4GivesRelativeNoteAndFinetune)
{
    struct Case {
        double rate;
        int relativeNote;
        int finetune;
    };
    const Case cases[] = {
        {8363.0, 0, 0}, {44100.0, 28, 104}, {48000.0, 30, 32}, {22050.0, 16, 104}, {4181.5, -12, 0},
    };
    for (const Case& c : cases) {
        const XmTuning t = tuningForRate(c.rate);
        EXPECT_EQ(t.relativeNote, c.relativeNote) << c.rate;
        EXPECT_EQ(t.finetune, c.finetune) << c.rate;
        // Finetune steps of 8 leave at most 1/32 semitone.
        EXPECT_LE(std::fabs(tuningErrorCents(c.rate, t)), 100.0 / 32 + 1e-9) << c.rate;
    }
}

TEST(Tuning, PowerOfTwoCyclesTuneExactly)
{
    for (int k = 0; k <= 4; ++k) {
        const double frames = 32.0 * (1 << k);
        const XmTuning t = tuningForCycle(frames);
        EXPECT_EQ(t.relativeNote, 12 * k);
        EXPECT_EQ(t.finetune, 0);
        EXPECT_NEAR(tuningErrorCents(frames * 8363.0 / 32.0, t), 0.0, 1e-9);
    }
    // Just under a semitone step rounds up into the next relative note.
    const XmTuning up = tuningForRate(8363.0 * std::pow(2.0, 127.0 / 1536.0));
    EXPECT_EQ(up.relativeNote, 1);
    EXPECT_EQ(up.finetune, 0);
    const XmTuning down = tuningForRate(8363.0 * std::pow(2.0, -3.0 / 1536.0));
    EXPECT_EQ(down.relativeNote, 0);
    EXPECT_EQ(down.finetune, 0);
    const XmTuning under = tuningForRate(8363.0 * std::pow(2.0, -5.0 / 1536.0));
    EXPECT_EQ(under.relativeNote, -1);
    EXPECT_EQ(under.finetune, 120);
}

TEST(Tuning, RatesTheFormatCannotReachAreRefused)
{
    EXPECT_THROW(tuningForRate(0.0), XmError);
    EXPECT_THROW(tuningForRate(-44100.0), XmError);
    EXPECT_THROW(tuningForRate(8363.0 * 256.0), XmError); // 96 semitones up
    EXPECT_NO_THROW(tuningForRate(8363.0 * std::pow(2.0, 95.0 / 12.0)));
}

} // namespace
} // namespace zov
