// The copier's controls used as a user would, frame by frame: part
// selection, every click action with its limits, stop, resume and reset,
// the music volume, and the two pop-up menus over live controls.
#include "tests/unit/copier_fixture.h"
#include "tests/unit/asset_reader.h"

#include <SDL.h>
#include <stdint.h>
#include <stdlib.h>
#include <string.h>
#include <unistd.h>

#include <random>
#include <string>

#include "app/copier/options.h"
#include "app/copier/popup.h"
#include "engine/platform/controller.h"
#include "engine/platform/input.h"
#include "engine/platform/sdl_driver.h"

namespace {

using Controls = CopierTest;

int musicVolume() { return soundsystem.musicvolume; }

// Opens a menu by its title, pressed and released.
void Open(CopierTest &t, Point title)
{
    t.Click(title);
    ASSERT_NE(popupMenu, 0);
}

TEST_F(Controls, ModeMenuChoosesEveryPart)
{
    for (int p = 0; p < MODE_MENU_ROWS; p++) {
        Start();
        // User settings that only choosing "DOSCOPY+" puts back.
        synch = 2000;
        effectSpeed = SpeedFromSynch(synch);
        startSector = 7;
        blendMode = 2;
        effectTimer = 500;
        footerMode = 3;
        Open(*this, MODE_TITLE);
        HandleMouse(ModeRow(p).x, ModeRow(p).y, 1);

        const bool demo = p == 0;
        EXPECT_EQ(popupMenu, 0) << p;
        EXPECT_EQ(demoPart, demo ? FIRST_DEMO_PART : p) << p;
        EXPECT_EQ(demoMode, demo ? 1 : 0) << p;
        EXPECT_EQ(effectTimer, 0) << p;
        EXPECT_EQ(synch, demo ? 4489 : 2000) << p;
        EXPECT_EQ(effectSpeed, SpeedFromSynch(synch)) << p;
        EXPECT_EQ(startSector, demo ? 0 : 7) << p;
        EXPECT_EQ(blendMode, demo ? 0 : 2) << p;
        EXPECT_EQ(footerMode, 1) << p;
        EXPECT_EQ(musicVolume(), p == 1 ? 0 : 255) << p;
    }
}

TEST_F(Controls, ProgramMenuLoadsEachProgramAsPart13)
{
    for (int row = 0; row < ROM_COUNT; row++) {
        Start();
        startSector = 9;
        Open(*this, PROGRAM_TITLE);
        effectTimer = 1234;
        chip_memory[0x200] = 0xAB;  // left over from an earlier program
        HandleMouse(ProgramRow(row).x, ProgramRow(row).y, 1);

        EXPECT_EQ(chipRom, row);
        EXPECT_EQ(demoPart, CHIP8_PART);
        EXPECT_EQ(demoMode, 0);
        EXPECT_EQ(footerMode, 5);
        EXPECT_EQ(popupMenu, 0);
        // Neither the timer nor the settings start over.
        EXPECT_EQ(effectTimer, 1234);
        EXPECT_EQ(startSector, 9);
        const std::vector<uint8_t> program = ReadEntry(ccRomfile[row]);
        ASSERT_GT(program.size(), 0u) << ccRomfile[row];
        EXPECT_EQ(chip_programcounter, 0x200);
        EXPECT_EQ(std::vector<uint8_t>(chip_memory + 0x200, chip_memory + 0x200 + program.size()), program)
            << ccRomfile[row];
    }
    // Rows outside the menu are limited to it.
    const int rows[][2] = {{7, 4}, {-2, 0}};
    for (const auto &r : rows) {
        ChooseProgram(r[0]);
        EXPECT_EQ(chipRom, r[1]) << r[0];
    }
}

TEST_F(Controls, PartNameFieldStepsAndWrapsIntoTheDemo)
{
    // {part, demo mode} before and after one click on the field.
    const int steps[][4] = {{3, 1, 4, 0}, {1, 0, 2, 0}, {11, 0, 12, 0}, {12, 0, 3, 1}, {13, 0, 3, 1}};
    for (const auto &s : steps) {
        demoPart = s[0];
        demoMode = s[1];
        Click(At(8));
        EXPECT_EQ(demoPart, s[2]) << s[0];
        EXPECT_EQ(demoMode, s[3]) << s[0];
    }
}

TEST_F(Controls, EachClickActionKeepsItsValueWithinLimits)
{
    const struct { int code; int *value; int before, after; } rows[] = {
        {11, &startSector, 5, 15},  {11, &startSector, 75, 81}, {12, &startSector, 81, 81},
        {17, &startSector, 5, 0},   {18, &startSector, 0, 0},   {18, &startSector, 81, 80},
        {14, &endSector, 72, 81},   {15, &endSector, 80, 81},   {19, &endSector, 9, 0},
        {20, &endSector, 81, 80},   {13, &startSide, 1, 0},     {13, &startSide, 0, 1},
        {16, &endSide, 1, 0},       {16, &endSide, 0, 1},       {9, &sideOption, 1, 2},
        {9, &sideOption, 2, 0},     {10, &blendMode, 1, 2},     {10, &blendMode, 2, 0},
        {21, &synch, 9500, 9999},   {22, &synch, 4489, 4589},   {23, &synch, 9995, 9999},
        {24, &synch, 9999, 9999},   {24, &synch, 0, 1},         {25, &synch, 500, 0},
        {26, &synch, 4489, 4389},   {27, &synch, 5, 0},         {28, &synch, 0, 0},
        {28, &synch, 4490, 4489},   {4, &footerMode, 1, 3},     {6, &footerMode, 1, 2},
        {29, &popupMenu, 0, 1},     {30, &popupMenu, 1, 2},     {7, &gameactive, 1, 0},
    };
    for (const auto &r : rows) {
        Start();
        *r.value = r.before;
        effectSpeed = 0;  // a speed change resumes a stop
        Click(At(r.code));
        EXPECT_EQ(*r.value, r.after) << "code " << r.code << " from " << r.before;
        if (r.value == &synch) {
            EXPECT_EQ(effectSpeed, SpeedFromSynch(r.after)) << r.code;
        }
    }
}

TEST_F(Controls, ClicksOnNoControlChangeNothingButSound)
{
    Start();
    const std::vector<int> before = {demoPart, demoMode, synch, startSector, endSector, footerMode, popupMenu};
    testing::internal::CaptureStdout();
    for (int code : {0, 31, -1, 1000}) PerformClick(code);
    EXPECT_NE(testing::internal::GetCapturedStdout().find("no control has code 31"), std::string::npos);
    HandleMouse(48, 45, 1);  // the gap between the two menu titles
    EXPECT_EQ(snd_mouseClick.playing, 1);
    EXPECT_EQ(before, (std::vector<int>{demoPart, demoMode, synch, startSector, endSector, footerMode, popupMenu}));
}

TEST_F(Controls, StopResumeAndReset)
{
    Frame(NOWHERE, 0);
    Click(At(3));  // stop
    EXPECT_EQ(musicVolume(), 0);
    EXPECT_EQ(effectSpeed, 0.0f);
    const int frozen = effectTimer;
    for (int i = 0; i < 100; i++) Frame(NOWHERE, 0);
    EXPECT_EQ(effectTimer, frozen);

    Click(At(1));  // resume where it stopped
    EXPECT_EQ(musicVolume(), 255);
    EXPECT_EQ(effectSpeed, 1.0f);
    EXPECT_EQ(effectTimer, frozen + 30);

    // A speed change resumes too, but the music stays silent.
    Click(At(3));
    Click(At(24));
    EXPECT_EQ(effectSpeed, SpeedFromSynch(4490));
    EXPECT_EQ(musicVolume(), 0);

    // Reset: every setting back, the demo from part 3, the music on.
    startSector = 40;
    blendMode = 2;
    demoMode = 0;
    demoPart = 9;
    Click(At(5));
    EXPECT_EQ((std::vector<int>{startSector, blendMode, synch, demoMode, demoPart, musicVolume()}),
              (std::vector<int>{0, 0, 4489, 1, 3, 255}));
}

TEST_F(Controls, MusicVolumeFollowsTheChosenPart)
{
    // Clicks in order (a menu row, or a control when title.x is 0), with the
    // music volume after each.
    const struct { Point title, row; int volume; } steps[] = {
        {MODE_TITLE, ModeRow(1), 0},          // DOSCOPY mutes
        {PROGRAM_TITLE, ProgramRow(2), 0},    // a program after it stays silent
        {{0, 0}, At(1), 255},                 // resume
        {MODE_TITLE, ModeRow(1), 0},
        {MODE_TITLE, ModeRow(4), 255},        // any other part
        {{0, 0}, At(3), 0},                   // stop
        {{0, 0}, At(8), 255},                 // the next part
        {PROGRAM_TITLE, ProgramRow(0), 255},
    };
    for (const auto &s : steps) {
        if (s.title.x) Click(s.title);
        Click(s.row);
        EXPECT_EQ(musicVolume(), s.volume) << &s - steps;
    }
}

TEST(Popup, RowsHaveStrictBorders)
{
    // {x, y, count, pointer x, pointer y, row}
    const int rows[][6] = {
        {8, 56, 13, 52, 61, 0},   {8, 56, 13, 52, 60, -1},  {8, 56, 13, 52, 68, -1}, {8, 56, 13, 52, 67, 0},
        {8, 56, 13, 52, 69, 1},   {8, 56, 13, 9, 61, 0},    {8, 56, 13, 8, 61, -1},  {8, 56, 13, 96, 61, -1},
        {8, 56, 13, 95, 61, 0},   {8, 56, 13, 52, 163, 12}, {8, 56, 13, 52, 164, -1}, {8, 56, 13, 52, 170, -1},
        {8, 56, 13, 52, 57, -1},  {48, 56, 5, 49, 99, 4},   {48, 56, 5, 100, 86, 3}, {48, 56, 0, 60, 61, -1},
        {48, 56, -3, 60, 61, -1}, {8, 56, 13, INT32_MIN, 61, -1}, {8, 56, 13, 52, INT32_MAX, -1},
        {8, 56, 13, INT32_MAX, INT32_MIN, -1}};
    for (const auto &r : rows) {
        EXPECT_EQ(PopupRowAt(r[0], r[1], r[2], r[3], r[4]), r[5]) << &r - rows;
        if (r[2] >= 0) {
            EXPECT_EQ(HandlePopup(r[0], r[1], ccOptions, r[2], r[3], r[4]), r[5]) << &r - rows;
        }
    }
    testing::internal::CaptureStdout();
    EXPECT_EQ(HandlePopup(8, 56, nullptr, 13, 52, 61), -1);
    EXPECT_EQ(HandlePopup(8, 56, ccOptions, -1, 52, 61), -1);
    EXPECT_NE(testing::internal::GetCapturedStdout().find("no menu"), std::string::npos);
}

TEST_F(Controls, PopupStaysOpenWhileClicksOutsideItsRowsAct)
{
    Open(*this, MODE_TITLE);
    // A speed arrow, nothing at all, the frame's edge above row 0: each
    // acts as without the menu, which stays open.
    const struct { Point at; int synch; } clicks[] = {
        {At(24), 4490}, {NOWHERE, 4490}, {{52, 60}, 4490}, {At(27), 4480}};
    for (const auto &c : clicks) {
        Click(c.at);
        EXPECT_EQ(popupMenu, 1) << &c - clicks;
        EXPECT_EQ(synch, c.synch) << &c - clicks;
        EXPECT_EQ(selectedChoice, -1);
    }
    // The other title opens the other menu in its place.
    Click(PROGRAM_TITLE);
    EXPECT_EQ(popupMenu, 2);
}

TEST_F(Controls, RowOverALiveControlChangesOnlyWhatTheRowChooses)
{
    // {menu, point on a row and on a control, that row, that control}
    const struct { Point title, at; int row, code; } cases[] = {
        {PROGRAM_TITLE, {60, 65}, 0, 8},   // part-name field
        {PROGRAM_TITLE, {120, 86}, 3, 3},  // stop button
        {MODE_TITLE, {60, 83}, 2, 2},      // drive error button
    };
    for (const auto &c : cases) {
        const bool program = c.title.x == PROGRAM_TITLE.x;
        ASSERT_EQ(MouseCoordsToUIFunction(c.at.x, c.at.y), c.code);
        ASSERT_EQ(PopupRowAt(program ? 48 : 8, 56, program ? ROM_COUNT : MODE_MENU_ROWS, c.at.x, c.at.y), c.row);
        // The user's own part and settings, from part 12.
        Start();
        demoPart = 12;
        demoMode = 0;
        startSector = 20;
        synch = 3000;
        effectSpeed = SpeedFromSynch(synch);
        blendMode = 1;
        Open(*this, c.title);
        effectTimer = 777;
        HandleMouse(c.at.x, c.at.y, 1);

        EXPECT_EQ(popupMenu, 0);
        EXPECT_EQ(floppyCorrupt.playing, 0) << "drive error button";
        EXPECT_EQ(effectSpeed, SpeedFromSynch(3000)) << "stop button";
        EXPECT_EQ(synch, 3000);
        if (program) {
            EXPECT_EQ(chipRom, c.row);
            EXPECT_EQ(demoPart, CHIP8_PART);
            EXPECT_EQ(musicVolume(), 255) << "stop button";
            EXPECT_EQ(effectTimer, 777);
            EXPECT_EQ((std::vector<int>{startSector, blendMode}), (std::vector<int>{20, 1}));
        } else {
            EXPECT_EQ(demoPart, c.row);
            EXPECT_EQ(demoMode, 0);
        }
    }
}

TEST_F(Controls, HoldingTheButtonOntoARowChoosesIt)
{
    // Pressed on the title, held across the menu's edge, onto row 1.
    Frame(PROGRAM_TITLE, 1);
    Frame({92, 58}, 1);
    EXPECT_EQ(popupMenu, 2);
    Frame(ProgramRow(1), 1);
    EXPECT_EQ(popupMenu, 0);
    EXPECT_EQ(chipRom, 1);
    Frame(ProgramRow(1), 0);

    // Pressed outside the rows of an open menu, then moved onto one.
    Open(*this, MODE_TITLE);
    Frame(NOWHERE, 1);
    Frame(ModeRow(4), 1);
    EXPECT_EQ(demoPart, 4);
    Frame(NOWHERE, 0);

    // Only a left press counts; moving onto a row without one, or letting
    // go over it, chooses nothing.
    Open(*this, MODE_TITLE);
    Frame(NOWHERE, 2);
    Frame(ModeRow(5), 2);
    Frame(ModeRow(6), 0);
    EXPECT_EQ(popupMenu, 1);
    EXPECT_EQ(demoPart, 4);
}

TEST_F(Controls, PressFollowedByMotionStillClicks)
{
    // Through the window messages: the press is followed by pointer motion
    // (and, the second time, let go) before the frame samples the mouse.
    ASSERT_EQ(SDL_InitSubSystem(SDL_INIT_EVENTS), 0);
    auto pump = [](const std::vector<Uint32> &types) {
        for (Uint32 type : types) {
            SDL_Event e{};
            e.type = type;
            e.button.button = SDL_BUTTON_LEFT;
            SDL_PushEvent(&e);
        }
        while (SDL_PeepEvents(nullptr, 0, SDL_PEEKEVENT, SDL_FIRSTEVENT, SDL_LASTEVENT) > 0) vxe_pumpmessages();
    };
    // No window: the pointer reads (0, 0), which keeps the last position.
    mx = At(24).x;
    my = At(24).y;
    const Uint32 motion = SDL_MOUSEMOTION, down = SDL_MOUSEBUTTONDOWN, up = SDL_MOUSEBUTTONUP;
    // A press let go before the frame still counts, once.
    const std::vector<Uint32> sequences[] = {{down, motion, motion}, {motion}, {up}, {down, motion, up}, {}};
    const int synchs[] = {4490, 4490, 4490, 4491, 4491};
    for (int i = 0; i < 5; i++) {
        pump(sequences[i]);
        int x, y, buttons;
        VXE_GetMouse(&x, &y, &buttons);
        HandleMouse(x, y, buttons);
        EXPECT_EQ(synch, synchs[i]) << i;
    }
    EXPECT_EQ(mouseClicked, 0);
    SDL_QuitSubSystem(SDL_INIT_EVENTS);
}

TEST_F(Controls, NoClickSequenceLeavesTheLimits)
{
    testing::internal::CaptureStdout();  // refusals and program loads
    std::mt19937 rng(20190);
    auto pick = [&](int low, int high) { return std::uniform_int_distribution<int>(low, high)(rng); };
    for (int frame = 0; frame < 20000; frame++) {
        switch (pick(0, 9)) {
        case 0: PerformClick(pick(-3, 33)); break;
        case 1: SelectPart(pick(-2, 14)); break;
        case 2: ChooseProgram(pick(-2, 7)); break;
        default: break;
        }
        // Mostly the interface's own area, sometimes far outside the frame.
        const int x = pick(0, 9) ? pick(0, 319) : pick(-50, 400);
        const int y = pick(0, 9) ? pick(40, 170) : pick(-50, 300);
        Frame(x, y, pick(0, 3) ? pick(0, 1) : pick(0, 7), pick(0, 20) ? 15 : pick(0, 500));
        const int ints[][3] = {{startSector, 0, 81}, {endSector, 0, 81}, {startSide, 0, 1}, {endSide, 0, 1},
                               {synch, 0, 9999}, {sideOption, 0, 2}, {blendMode, 0, 2}, {chipRom, 0, 4},
                               {demoPart, 1, 13}, {demoMode, 0, 1}, {popupMenu, 0, 2}, {footerMode, 1, 5},
                               {effectTimer, 0, 1 << 30}, {selectedChoice, -1, 12}};
        for (const auto &v : ints)
            ASSERT_TRUE(v[0] >= v[1] && v[0] <= v[2]) << "entry " << &v - ints << " is " << v[0] << " at frame " << frame;
        ASSERT_TRUE(effectSpeed == 0 || effectSpeed == SpeedFromSynch(synch)) << frame;
        ASSERT_TRUE(musicVolume() == 0 || musicVolume() == 255) << frame;
        gameactive = 1;  // the quit button was hit: play on
    }
    testing::internal::GetCapturedStdout();
}

TEST_F(Controls, ProgramMissingFromTheArchiveLeavesAnEmptyMachine)
{
    // A real program first, so that there is a picture to lose.
    ChooseProgram(1);
    for (int i = 0; i < 20; i++) Frame(NOWHERE, 0);
    int lit = 0;
    for (int r = 0; r < 16; r++)
        for (int x = 0; x < GRID_WIDTH; x++) lit += blockgrid[r][x] != blockgrid[0][0];
    ASSERT_GT(lit, 0) << "the IBM logo shows";

    // The same choice with an archive that lacks every program.
    char folder[] = "/tmp/floxa_noroms_XXXXXX";
    ASSERT_TRUE(mkdtemp(folder));
    ASSERT_EQ(1, corefile_mountimage(folder, COREFILE_KIND_DIRECTORY));
    testing::internal::CaptureStdout();
    Open(*this, PROGRAM_TITLE);
    Click(ProgramRow(2));
    EXPECT_NE(testing::internal::GetCapturedStdout().find("rom not found: maze.ch8"), std::string::npos);
    EXPECT_EQ((std::vector<int>{demoPart, chipRom, footerMode}), (std::vector<int>{CHIP8_PART, 2, 5}));

    const int before = effectTimer;
    for (int i = 0; i < 50; i++) Frame(NOWHERE, 0);
    EXPECT_EQ(effectTimer, before + 750) << "the show goes on";
    for (int a = 0x200; a < 4096; a++) ASSERT_EQ(chip_memory[a], 0) << a;
    s_bitmap dark{};
    unsigned char shown[16][GRID_WIDTH];
    memcpy(shown, blockgrid, sizeof shown);
    ConvertBitmapToGrid(dark);
    EXPECT_EQ(memcmp(shown, blockgrid, sizeof shown), 0) << "an empty picture";
    rmdir(folder);
}

}  // namespace
