// The effect timer, the demo's timeline and the part table, frame by frame
// on a virtual clock.
#include "tests/unit/copier_fixture.h"

#include <limits.h>
#include <string.h>

namespace {

using Timeline = CopierTest;

const int SEVENTY_FIVE_HOURS = 75 * 3600 * 1000;

TEST(EffectTimer, DropsTheFractionOfEachStepAndNothingElse)
{
    // {timer, frame milliseconds, synch, timer after}
    const struct { int timer; uint32_t elapsed; int synch, after; } rows[] = {
        {0, 16, 4488, 15},  // 15.996: the fraction goes
        {1234, 5000, 0, 1234},  // stopped
        {SEVENTY_FIVE_HOURS, 15, 4489, SEVENTY_FIVE_HOURS + 15},  // where a float sum loses the step
        {0, 0xFFFFFFFFu, 9999, INT_MAX},  // held at the top, never wrapped
    };
    for (const auto &r : rows)
        EXPECT_EQ(AdvanceEffectTimer(r.timer, r.elapsed, SpeedFromSynch(r.synch)), r.after) << r.timer << " " << r.synch;
}

TEST_F(Timeline, PartsLast512FramesOr233AtTopSpeedAndCycleThreeToTwelve)
{
    // {synch, frames of the first part}: 15 timer units a 15 ms frame at
    // the default speed, 33 (33.41 with the fraction dropped) at the top.
    const int rows[][2] = {{4489, PART_DURATION / 15}, {9999, 233}};
    for (const auto &r : rows) {
        Start();
        synch = r[0];
        effectSpeed = SpeedFromSynch(synch);
        // The boot screen's time is not the first part's: it starts at 0.
        EXPECT_EQ(FramesUntil([] { return demoPart != FIRST_DEMO_PART; }, 1000), r[1]) << r[0];
        EXPECT_EQ(demoPart, 4);
        EXPECT_EQ(effectTimer, 0);
    }

    // The parts run up to the last, then the first comes again.
    for (int from : {LAST_DEMO_PART - 1, (int)LAST_DEMO_PART}) {
        demoPart = from;
        effectTimer = PART_DURATION - 15;
        Frame(NOWHERE, 0);
        EXPECT_EQ(demoPart, from == LAST_DEMO_PART ? FIRST_DEMO_PART : from + 1);
        EXPECT_EQ(effectTimer, 0);
    }

    // A part the user chose runs on past its length.
    Start();
    SelectPart(7);
    effectTimer = PART_DURATION - 30;
    for (int i = 0; i < 10; i++) Frame(NOWHERE, 0);
    EXPECT_EQ(demoPart, 7);
    EXPECT_EQ(effectTimer, PART_DURATION + 120);
}

// Every reading of the clock a millisecond later than the one before.
uint32_t ticking()
{
    return copier_now++;
}

TEST_F(Timeline, TheFrameEndsAtTheSecondReading)
{
    vxe_setclock(ticking);
    copier_now = 1000;
    prevFrameTimer = 990;
    effectTimer = 0;
    AdvanceTimeline();
    EXPECT_EQ(effectTimer, 10);
    EXPECT_EQ(prevFrameTimer, 1001u);
}

// A program that adds 1 to V0 every two instructions.
const unsigned char COUNTER[] = {0x70, 0x01, 0x12, 0x00};
// Draws one row of 8 lit pixels at picture (12, 0), then waits in a loop.
const unsigned char BAR[] = {0x61, 0x0C, 0x62, 0x00, 0xA2, 0x0A, 0xD1, 0x21, 0x12, 0x08, 0xFF};

// The CHIP-8 part chosen, running `program` instead of the archive's.
template <size_t N> void RunsProgram(const unsigned char (&program)[N])
{
    ChooseProgram(0);
    chip8_resetcpu();
    chip8_loadbytes(program, (int)N);
}

TEST_F(Timeline, Chip8PartRuns50InstructionsAFrameEvenWhenStopped)
{
    RunsProgram(COUNTER);
    chip_vreg[0] = 0;
    Frame(NOWHERE, 0);
    EXPECT_EQ(chip_vreg[0], 25);
    Click(At(3));  // stop: the timer freezes, the machine does not
    const int timer = effectTimer;
    Frame(NOWHERE, 0);
    EXPECT_EQ(chip_vreg[0], 100);
    EXPECT_EQ(effectTimer, timer);
}

TEST_F(Timeline, Chip8PictureReachesTheGrid)
{
    RunsProgram(BAR);
    memset(blockgrid[16], 9, 2 * GRID_WIDTH);  // the part clears what the picture does not reach
    RunPart();
    // Picture rows 0 and 1 make grid row 0: the lit bar over columns 0-7.
    for (int x = 0; x < GRID_WIDTH; x++) {
        EXPECT_EQ(blockgrid[0][x] != blockgrid[1][x], x < 8) << x;
        EXPECT_EQ(blockgrid[16][x] | blockgrid[17][x], 0) << x;
    }
}

TEST_F(Timeline, OnlyTheCopyAndTheChip8PartTouchTheirMachines)
{
    // Part 0 never runs; the effects' parts leave the copy and the
    // CHIP-8 machine alone.
    chip8_resetcpu();
    chip8_loadbytes(COUNTER, sizeof COUNTER);
    for (int part = 0; part <= LAST_DEMO_PART; part++) {
        demoPart = part;
        footerMode = 2;
        RunPart();
        EXPECT_EQ(chip_programcounter, 0x200) << part;
        EXPECT_EQ(footerMode, part == 1 ? 4 : 2) << part;
    }
}

}  // namespace

// FX0A on a frame clock: a wait inside the frame could never end, since no
// time passes and scripted keys come with time. The frame goes on instead,
// and the wait is taken up again next frame.
TEST_F(Timeline, Chip8KeyWaitGivesWayOnAFrameClock)
{
    const unsigned char WAITKEY[] = {0xF0, 0x0A, 0x12, 0x00};  // v0 = key; jump to 0x200
    RunsProgram(WAITKEY);
    chip8_setwaithook(Chip8KeepWaiting);
    vxe_setframeclock(15);
    EXPECT_EQ(Chip8KeepWaiting(), 0);
    RunPart();
    EXPECT_EQ(chip_programcounter, 0x200) << "still waiting at the FX0A";
    chip8_setkeysource([] { return 0x4; });  // left: keypad 4
    RunPart();
    EXPECT_EQ(chip_vreg[0], 4);
    chip8_setkeysource(nullptr);
    chip8_setwaithook(nullptr);
    vxe_setframeclock(0);
}
