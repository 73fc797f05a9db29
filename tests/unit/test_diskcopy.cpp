// The simulated disk copy on a virtual clock, with the real drive noises
// from the real archive mixed offline: the copy's pace, bad sectors and
// their stall, completion, the error button, and long frames.
#include "tests/unit/copier_fixture.h"

#include <limits.h>
#include <string.h>

#include <algorithm>
#include <initializer_list>
#include <set>
#include <string>

#include "app/monitor/statusline.h"

namespace {

// Grid cell of copy position q (the top-left one of its 2x2 block).
int Cell(int q)
{
    const int side = q / DISK_SECTORS, sector = q % DISK_SECTORS;
    return blockgrid[2 * (sector / 10)][GRID_RIGHT * side + 2 * (sector % 10)];
}

// Positions the grid shows as copied; -1 when they are not the first ones
// in copy order or a cell outside the sectors' blocks is painted.
int Copied()
{
    int n = 0;
    while (n < DISK_POSITIONS && Cell(n) != 0) n++;
    int painted = 0;
    for (int y = 0; y < GRID_HEIGHT; y++)
        for (int x = 0; x < GRID_WIDTH; x++) painted += blockgrid[y][x] != 0;
    return painted == 4 * n ? n : -1;
}

struct DiskCopyTest : CopierTest {
    // Chooses "DOSCOPY" and replaces its map: bad sectors only at `bad`.
    void Begin(std::initializer_list<int> bad)
    {
        SelectPart(1);
        memset(sectormap, GOOD_SECTOR, sizeof sectormap);
        for (int q : bad) sectormap[q / DISK_SECTORS][q % DISK_SECTORS] = BAD_SECTOR;
    }
    // `frames` frames in which the grid keeps showing `n` positions.
    void Holds(int n, int frames)
    {
        for (int i = 0; i < frames; i++) {
            Frame(NOWHERE, 0);
            ASSERT_EQ(Copied(), n) << i;
        }
    }
};

TEST_F(DiskCopyTest, PositionsFollowTheTimer)
{
    // {effect timer, positions shown}
    const int rows[][2] = {{49, 0}, {50, 1}, {4150, 83}, {8199, 163}, {8200, 164}, {INT_MAX, 164}, {-500, 0}};
    for (const auto &r : rows) {
        Begin({});
        effectTimer = r[0];
        DiskCopy(BLEND_NORMAL);
        EXPECT_EQ(Copied(), r[1]) << r[0];
        for (int q = 0; q < r[1]; q++) ASSERT_EQ(Cell(q), GOOD_SECTOR) << r[0] << " " << q;
        EXPECT_STREQ(CopyMessage, r[1] == DISK_POSITIONS ? CopyMessageFinished : CopyMessageProgress) << r[0];
        Quiet();
    }
    // A broken pace setting still copies, one sector a unit, inside the grid.
    speedDivider = 0;
    Begin({});
    effectTimer = 10;
    DiskCopy(BLEND_NORMAL);
    EXPECT_EQ(Copied(), 10);
    speedDivider = 50;
}

TEST_F(DiskCopyTest, CompletionIsReportedOnceUntilTheCopyStartsOver)
{
    Begin({});
    effectTimer = 8150;
    // Frames at 8150, 8165, 8180 and 8195 show 163; the fifth all 164.
    EXPECT_EQ(FramesUntil([] { return FloxaFinished.playing != 0; }, 100), 5);
    EXPECT_STREQ(CopyMessage, CopyMessageFinished);
    Soundsystem_StopSound(&FloxaFinished);
    for (int i = 0; i < 20; i++) Frame(NOWHERE, 0);
    EXPECT_EQ(FloxaFinished.playing, 0) << "the jingle plays once";
    EXPECT_EQ(Copied(), DISK_POSITIONS);

    // Bottom button 1 starts the copy over at the same timer, the music
    // still silent: the message returns and the end is reported again at once.
    const int timer = effectTimer;
    HandleMouse(At(1).x, At(1).y, 1);
    EXPECT_STREQ(CopyMessage, CopyMessageProgress);
    EXPECT_EQ(effectTimer, timer);
    EXPECT_EQ(soundsystem.musicvolume, 0);
    RunPart();
    EXPECT_STREQ(CopyMessage, CopyMessageFinished);
    EXPECT_EQ(FloxaFinished.playing, 1);
}

TEST_F(DiskCopyTest, SameSeedGivesTheSameMap)
{
    std::set<std::string> maps;
    for (int seed : {0, 90000}) {
        DiskCopyInit(seed);
        const std::string first((const char *)sectormap, sizeof sectormap);
        rand();
        DiskCopyInit(seed);
        EXPECT_EQ(std::string((const char *)sectormap, sizeof sectormap), first) << seed;
        const long bad = std::count(first.begin(), first.end(), BAD_SECTOR);
        EXPECT_EQ(std::count(first.begin(), first.end(), GOOD_SECTOR), (long)first.size() - bad) << seed;
        EXPECT_TRUE(bad >= 1 && bad <= 3) << seed << ": " << bad;
        maps.insert(first);
    }
    EXPECT_GT(maps.size(), 1u);
}

TEST_F(DiskCopyTest, BadSectorShowsRedAndStallsWhileTheNoisePlays)
{
    Begin({10});
    ASSERT_GE(FramesUntil([] { return floppyCorrupt.playing != 0; }, 100), 0);
    EXPECT_EQ(Copied(), 10) << "the noise starts as the head reaches it";
    int stalled = 0;
    for (; floppyCorrupt.playing && stalled < 200; stalled++) {
        Frame(NOWHERE, 0);
        ASSERT_EQ(Copied(), 11) << stalled;
    }
    EXPECT_EQ(Cell(10), BAD_SECTOR);
    EXPECT_EQ(Cell(9), GOOD_SECTOR);
    // The noise lasts a second; the mixer stops it at a block's end.
    EXPECT_NEAR(stalled * 15, 1000, 60);
    EXPECT_GE(FramesUntil([] { return Copied() == 12; }, 4), 0) << "the copy goes on";
    EXPECT_EQ(FramesUntil([] { return DisccopyDone != 0; }, 1000), (8200 - 600) / 15 + 1);
}

TEST_F(DiskCopyTest, BadLastSectorCompletesWhileTheNoisePlays)
{
    Begin({DISK_POSITIONS - 1});
    effectTimer = 8000;
    ASSERT_GE(FramesUntil([] { return floppyCorrupt.playing != 0; }, 100), 0);
    EXPECT_EQ(Copied(), 163);
    EXPECT_EQ(DisccopyDone, 0);
    Frame(NOWHERE, 0);
    EXPECT_EQ((std::vector<int>{Copied(), Cell(163), DisccopyDone, floppyCorrupt.playing, FloxaFinished.playing}),
              (std::vector<int>{164, BAD_SECTOR, 1, 1, 1}));
}

TEST_F(DiskCopyTest, ErrorButtonSendsTheCopyBackPastTheLastBadSector)
{
    // No bad sector met yet: back to position 1 while the noise plays.
    Begin({});
    effectTimer = 4000;
    Frame(NOWHERE, 0);
    ASSERT_EQ(Copied(), 80);
    Click(At(2));
    EXPECT_EQ(floppyCorrupt.playing, 1);
    Holds(1, 30);

    // After a bad sector: back to just past it.
    Quiet();
    Begin({10});
    ASSERT_GE(FramesUntil([] { return Copied() == 40; }, 1000), 0);
    Click(At(2));
    Holds(11, 30);
    FramesUntil([] { return floppyCorrupt.playing == 0; }, 100);
    EXPECT_GE(FramesUntil([] { return Copied() == 40; }, 1000), 0) << "and copies on from there";
}

TEST_F(DiskCopyTest, RestartDuringTheNoiseKeepsTheCopysPlace)
{
    // The seed's own map, which bottom button 1 builds again.
    SelectPart(1);
    const unsigned char *map = &sectormap[0][0];
    const int bad = (int)(std::find(map, map + DISK_POSITIONS, BAD_SECTOR) - map);
    ASSERT_GE(FramesUntil([] { return floppyCorrupt.playing != 0; }, 1000), 0);
    ASSERT_EQ(Copied(), bad);
    Holds(bad + 1, 10);
    Click(At(1));
    ASSERT_EQ(floppyCorrupt.playing, 1) << "still stalled";
    for (int i = 0; floppyCorrupt.playing && i < 100; i++) {
        Frame(NOWHERE, 0);
        ASSERT_EQ(Copied(), bad + 1) << i;
    }
    EXPECT_GE(FramesUntil([=] { return Copied() == bad + 2; }, 4), 0) << "the copy goes on from there";
}

TEST_F(DiskCopyTest, ChoosingTheCopyAgainDuringTheNoiseStartsFromTheStart)
{
    Click(MODE_TITLE);
    Click(ModeRow(1));
    memset(sectormap, GOOD_SECTOR, sizeof sectormap);
    sectormap[0][50] = BAD_SECTOR;
    ASSERT_GE(FramesUntil([] { return floppyCorrupt.playing != 0; }, 1000), 0);
    ASSERT_EQ(Copied(), 50);

    Click(MODE_TITLE);
    Click(ModeRow(1));
    ASSERT_EQ(floppyCorrupt.playing, 1) << "still the old copy's noise";
    int frames = 0;
    for (; floppyCorrupt.playing && frames < 100; frames++) {
        ASSERT_LE(Copied(), 1) << frames;
        Frame(NOWHERE, 0);
    }
    EXPECT_GT(frames, 10);
    // Then the new copy with its own map (one to three bad sectors).
    EXPECT_GE(FramesUntil([] { return Copied() > 20; }, 200), 0);
}

TEST_F(DiskCopyTest, LongFrameStopsAtTheFirstBadSectorOnItsWay)
{
    // {bad positions, timer of the frame before (-1: none), timer of the long frame, reached}
    const struct {
        std::initializer_list<int> bad;
        int before, after, reached;
    } rows[] = {
        {{31, 30}, 1450, 1600, 30}, {{163}, 8100, 9000, 163}, {{0}, -1, 200, 0}, {{5, 90}, 300, 8200, 90},
    };
    for (const auto &r : rows) {
        Begin(r.bad);
        if (r.before >= 0) {
            effectTimer = r.before;
            DiskCopy(BLEND_NORMAL);
            Quiet();
        }
        effectTimer = r.after;
        DiskCopy(BLEND_NORMAL);
        EXPECT_EQ(Copied(), r.reached) << r.after;
        EXPECT_EQ(floppyCorrupt.playing, 1) << r.after;
        EXPECT_EQ(effectTimer, 50 * r.reached + 50) << "the stall waits just past it";
        EXPECT_EQ(DisccopyDone, 0);
        Quiet();
    }
}

TEST_F(DiskCopyTest, EveryBadSectorSoundsAtTopSpeedWithLongFrames)
{
    while (synch < 9999) Click(At(21));
    Begin({20, 21, 100});
    // 40 ms frames: nearly two sectors each.
    int started = 0, was = 0, frames = 0;
    for (; !DisccopyDone && frames < 2000; frames++) {
        Frame(NOWHERE, 0, 40);
        started += floppyCorrupt.playing && !was;
        was = floppyCorrupt.playing;
    }
    EXPECT_EQ(started, 3);
    EXPECT_EQ((std::vector<int>{Cell(20), Cell(21), Cell(100), Copied()}),
              (std::vector<int>{BAD_SECTOR, BAD_SECTOR, BAD_SECTOR, DISK_POSITIONS}));
}

}  // namespace
