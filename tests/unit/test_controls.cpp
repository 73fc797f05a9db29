// The copier's controls used as a user would, frame by frame: part
// selection, every click action with its limits, stop, resume and reset,
// the music volume, and the two pop-up menus over live controls.
#include "tests/unit/copier_fixture.h"
#include "tests/unit/asset_reader.h"

#include <stdint.h>
#include <stdlib.h>
#include <unistd.h>

#include <string>

#include "app/copier/options.h"
#include "app/copier/popup.h"
#include "engine/platform/controller.h"
#include "engine/platform/inputevents.h"

namespace {

using Controls = CopierTest;

int musicVolume() { return soundsystem.musicvolume; }

// Opens a menu by its title, pressed and released.
void Open(CopierTest &t, Point title)
{
    t.Click(title);
    ASSERT_NE(popupMenu, 0);
}

TEST_F(Controls, ModeMenuChoosesAPartAndPlaysIt)
{
    for (int p : {0, 1, 12}) {
        Start();
        // Stopped, with user settings that only "DOSCOPY+" puts back.
        Click(At(3));
        synch = 2000;
        startSector = 7;
        blendMode = 2;
        effectTimer = 500;
        footerMode = 3;
        Open(*this, MODE_TITLE);
        HandleMouse(ModeRow(p).x, ModeRow(p).y, 1);

        // {menu, part, demo mode, timer, synch, start sector, blend, footer, music}
        const bool demo = p == 0;
        EXPECT_EQ((std::vector<int>{popupMenu, demoPart, demoMode, effectTimer, synch, startSector, blendMode,
                                    footerMode, musicVolume()}),
                  (std::vector<int>{0, demo ? FIRST_DEMO_PART : p, demo, 0, demo ? 4489 : 2000, demo ? 0 : 7,
                                    demo ? 0 : 2, 1, p == 1 ? 0 : 255}))
            << p;
        EXPECT_EQ(effectSpeed, SpeedFromSynch(synch)) << p;
    }
}

TEST_F(Controls, ProgramMenuLoadsEachProgramAsPart13)
{
    for (int row = 0; row < ROM_COUNT; row++) {
        Start();
        startSector = 9;
        Open(*this, PROGRAM_TITLE);
        effectTimer = 1234;
        Soundsystem_SetMusicVolume(0);  // as after a copy
        chip_memory[0x200] = 0xAB;      // left over from an earlier program
        HandleMouse(ProgramRow(row).x, ProgramRow(row).y, 1);

        // Neither the timer, the settings nor the music start over.
        EXPECT_EQ((std::vector<int>{chipRom, demoPart, demoMode, footerMode, popupMenu, effectTimer, startSector,
                                    musicVolume(), chip_programcounter}),
                  (std::vector<int>{row, CHIP8_PART, 0, 5, 0, 1234, 9, 0, 0x200}));
        const std::vector<uint8_t> program = ReadEntry(ccRomfile[row]);
        ASSERT_GT(program.size(), 0u) << ccRomfile[row];
        EXPECT_EQ(std::vector<uint8_t>(chip_memory + 0x200, chip_memory + 0x200 + program.size()), program)
            << ccRomfile[row];
    }
    ChooseProgram(ROM_COUNT + 3);  // past the menu: its last row
    EXPECT_EQ(chipRom, ROM_COUNT - 1);
}

TEST_F(Controls, EachClickActionKeepsItsValueWithinLimits)
{
    const struct { int code; int *value; int before, after; } rows[] = {
        {11, &startSector, 5, 15},  {11, &startSector, 75, 81}, {12, &startSector, 5, 6},
        {17, &startSector, 5, 0},   {18, &startSector, 81, 80}, {14, &endSector, 72, 81},
        {15, &endSector, 80, 81},   {19, &endSector, 9, 0},     {20, &endSector, 81, 80},
        {13, &startSide, 1, 0},     {13, &startSide, 0, 1},     {16, &endSide, 1, 0},
        {16, &endSide, 0, 1},       {9, &sideOption, 1, 2},     {9, &sideOption, 2, 0},
        {10, &blendMode, 1, 2},     {10, &blendMode, 2, 0},     {21, &synch, 9500, 9999},
        {22, &synch, 4489, 4589},   {23, &synch, 4489, 4499},   {24, &synch, 0, 1},
        {25, &synch, 500, 0},       {26, &synch, 4489, 4389},   {27, &synch, 4489, 4479},
        {28, &synch, 4490, 4489},   {4, &footerMode, 1, 3},     {6, &footerMode, 1, 2},
        {29, &popupMenu, 0, 1},     {30, &popupMenu, 1, 2},     {7, &gameactive, 1, 0},
        // The part-name field steps through the parts, then into the demo.
        {8, &demoPart, 3, 4},       {8, &demoPart, 12, 3},      {8, &demoPart, 13, 3},
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
    const std::vector<int> before = {demoPart, demoMode, synch, startSector, endSector, footerMode, popupMenu};
    testing::internal::CaptureStdout();
    for (int code : {0, 31, -1, 1000}) PerformClick(code);
    for (int part : {-1, LAST_DEMO_PART + 1}) SelectPart(part);
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
    const int frozen = effectTimer;
    for (int i = 0; i < 100; i++) Frame(NOWHERE, 0);
    EXPECT_EQ(effectTimer, frozen);

    Click(At(1));  // resume where it stopped
    EXPECT_EQ(musicVolume(), 255);
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

// The pointer is read once a frame: a click shorter than a frame waits in
// the input's latch for that reading, and the eyes, which follow the
// pointer while they draw, must not take it first.
TEST_F(Controls, AClickDuringTheEyesReachesTheCopier)
{
    static Point target;
    target = At(3);  // stop
    VXE_SetMouseMap([](int *x, int *y) { *x = target.x, *y = target.y; });
    vxe_msg_windowopened();
    demoMode = 0;
    SelectPart(2);
    Frame(target, 0);
    vxe_msg_buttondown(1);
    vxe_msg_buttonup(1);
    RunPart();  // the click came while the eyes were drawing
    int x, y, buttons;
    ReadPointer(&x, &y, &buttons);
    UpdateCopier(x, y, buttons);
    VXE_SetMouseMap(nullptr);
    EXPECT_EQ(musicVolume(), 0) << "the stop button never saw the click";
}

// Which row a pointer is on is checked through the menus above; here what
// must turn into no row at all.
TEST(Popup, NoRowForAnEmptyMenuOrAPointerFarOff)
{
    // {count, pointer x, pointer y}: on the box's left and right lines, past
    // the last row, no rows, and far off.
    const int rows[][3] = {{13, 8, 61},  {13, 96, 61},       {13, 52, 164},      {0, 60, 61},
                           {-3, 60, 61}, {13, INT32_MIN, 61}, {13, 52, INT32_MAX}, {13, INT32_MAX, INT32_MIN}};
    for (const auto &r : rows) EXPECT_EQ(PopupRowAt(8, 56, r[0], r[1], r[2]), -1) << &r - rows;
    testing::internal::CaptureStdout();
    EXPECT_EQ(HandlePopup(8, 56, nullptr, 13, 52, 61), -1);
    EXPECT_EQ(HandlePopup(8, 56, ccOptions, -1, 52, 61), -1);
    EXPECT_NE(testing::internal::GetCapturedStdout().find("no menu"), std::string::npos);
}

// What a click may change, the click sound and the pointer aside.
std::vector<int> Settings()
{
    return {demoPart, demoMode, effectTimer, synch, startSector, startSide, endSector, endSide, sideOption,
            blendMode, footerMode, popupMenu, selectedChoice, gameactive, musicVolume(), floppyCorrupt.playing,
            (int)(effectSpeed * 1e6f)};
}

TEST_F(Controls, NoControlActsUnderAnOpenPopup)
{
    // The boxes: mode menu x 8-95, y 56-165; program menu x 48-135, y 56-101.
    const struct { Point title; int x, y, count; } menus[] = {{MODE_TITLE, 8, 56, MODE_MENU_ROWS},
                                                              {PROGRAM_TITLE, 48, 56, ROM_COUNT}};
    // {menu, x, y, control under it, inside the box}: points off the rows,
    // on and just outside each border line. Inside, no control acts and the
    // menu stays open; outside, the control acts as with no menu.
    const int points[][5] = {
        {0, 8, 100, 0, 1},   {0, 7, 100, 0, 0},   {0, 95, 68, 8, 1},   {0, 96, 68, 8, 0},    // left, right
        {0, 52, 56, 0, 1},   {0, 52, 55, 0, 0},   {0, 52, 165, 0, 1},  {0, 52, 166, 0, 0},   // top, bottom
        {0, 8, 56, 0, 1},    {0, 95, 56, 0, 1},   {0, 8, 165, 0, 1},   {0, 95, 165, 0, 1},   // corners
        {0, 52, 68, 8, 1},   {0, 30, 84, 1, 1},   {0, 60, 84, 2, 1},   {0, 60, 50, 30, 0},   // between rows; title
        {1, 48, 68, 8, 1},   {1, 47, 68, 8, 0},   {1, 48, 84, 1, 1},   {1, 47, 84, 1, 0},    // left
        {1, 135, 84, 3, 1},  {1, 136, 84, 3, 0},  {1, 100, 57, 11, 1}, {1, 100, 55, 0, 0},   // right, top
        {1, 100, 56, 0, 1},  {1, 100, 101, 0, 1}, {1, 100, 102, 0, 0}, {1, 60, 84, 2, 1},    // bottom
        {1, 48, 56, 0, 1},   {1, 135, 56, 0, 1},  {1, 48, 101, 0, 1},  {1, 135, 101, 0, 1},  // corners
    };
    for (const auto &p : points) {
        const auto &m = menus[p[0]];
        ASSERT_EQ(MouseCoordsToUIFunction(p[1], p[2]), p[3]) << p[1] << "," << p[2];
        ASSERT_EQ(PopupRowAt(m.x, m.y, m.count, p[1], p[2]), -1) << p[1] << "," << p[2];
        EXPECT_EQ(PopupCovers(m.x, m.y, m.count, p[1], p[2]), p[4] != 0) << p[1] << "," << p[2];
        // From the same start, the click and the action it should have had;
        // stopped with the music on, so that every control's action shows.
        auto after = [&](auto act) {
            Start();
            Quiet();
            Open(*this, m.title);
            effectSpeed = 0;
            act();
            return Settings();
        };
        const std::vector<int> clicked = after([&] { HandleMouse(p[1], p[2], 1); });
        EXPECT_EQ(clicked, after([&] { PerformClick(p[4] ? 0 : p[3]); })) << p[1] << "," << p[2];
    }
}

TEST_F(Controls, RowOverALiveControlChangesOnlyWhatTheRowChooses)
{
    // Program row 0 lies over the part-name field, which from part 12
    // would restart the demo and reset the settings.
    ASSERT_EQ(MouseCoordsToUIFunction(60, 65), 8);
    demoPart = 12;
    demoMode = 0;
    startSector = 20;
    synch = 3000;
    Open(*this, PROGRAM_TITLE);
    effectTimer = 777;
    HandleMouse(60, 65, 1);
    // {menu, part, demo mode, synch, start sector, timer}
    EXPECT_EQ((std::vector<int>{popupMenu, demoPart, demoMode, synch, startSector, effectTimer}),
              (std::vector<int>{0, CHIP8_PART, 0, 3000, 20, 777}));
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

    // Only a left press counts; moving onto a row without one, or letting
    // go over it, chooses nothing.
    Open(*this, MODE_TITLE);
    Frame(NOWHERE, 2);
    Frame(ModeRow(5), 2);
    Frame(ModeRow(6), 0);
    EXPECT_EQ(popupMenu, 1);
    EXPECT_EQ(demoPart, CHIP8_PART);
}

TEST_F(Controls, ProgramMissingFromTheArchiveLeavesAnEmptyMachine)
{
    // A real program first, so that there is a picture to lose.
    ChooseProgram(1);
    for (int i = 0; i < 20; i++) Frame(NOWHERE, 0);
    // Cells of the machine's picture unlike its corner: none when it is empty.
    auto lit = [] {
        int n = 0;
        for (int r = 0; r < 16; r++)
            for (int x = 0; x < GRID_WIDTH; x++) n += blockgrid[r][x] != blockgrid[0][0];
        return n;
    };
    ASSERT_GT(lit(), 0) << "the IBM logo shows";

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
    EXPECT_EQ(lit(), 0) << "an empty picture";
    rmdir(folder);
}

}  // namespace
