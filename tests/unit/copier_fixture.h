// The copier at work without a window: the real archive's sounds and
// programs, the sound system mixing offline, and a virtual clock that each
// frame moves by hand, so the frame loop's logic runs exactly as it would.
#pragma once

#include <gtest/gtest.h>

#include <vector>

#include "app/appstate.h"
#include "app/chip8/chip8.h"
#include "app/chip8/chip8draw.h"
#include "app/copier/controls.h"
#include "app/copier/copier_hittest.h"
#include "app/copier/diskcopy.h"
#include "app/copier/timeline.h"
#include "app/frameloop.h"
#include "app/grid/blockgrid.h"
#include "app/monitor/resources.h"
#include "engine/corefile/corefile.h"
#include "engine/platform/clock.h"
#include "engine/sound/audiodriver.h"
#include "engine/sound/soundsystem.h"

inline uint32_t copier_now;
inline uint32_t copier_clock() { return copier_now; }

// Centre of row `row` of either pop-up, the menu titles, and a point on no control.
struct Point { int x, y; };
inline Point ModeRow(int row) { return {8 + 44, 56 + 4 + 8 * row + 4}; }
inline Point ProgramRow(int row) { return {48 + 44, 56 + 4 + 8 * row + 4}; }
const Point MODE_TITLE = {20, 50}, PROGRAM_TITLE = {60, 50}, NOWHERE = {200, 30};
// Centre of the control with click code `code`.
inline Point At(int code)
{
    for (int i = 0; i < uiHotspotCount; i++)
        if (uiHotspots[i].code == code)
            return {(uiHotspots[i].x0 + uiHotspots[i].x1) / 2, (uiHotspots[i].y0 + uiHotspots[i].y1) / 2};
    ADD_FAILURE() << "no control " << code;
    return NOWHERE;
}

struct CopierTest : ::testing::Test {
    uint32_t origin = 0;  // clock when the mixer started
    uint64_t mixed = 0;   // output frames mixed since
    std::vector<int16_t> block = std::vector<int16_t>(2 * AUDIODRIVER_FRAMES);

    void SetUp() override
    {
        ASSERT_EQ(1, corefile_mountimage(FLOXA_DAT, COREFILE_KIND_ARCHIVE));
        audiodriver_setoffline(1);
        Soundsystem_Init(44100, 16, 2);
        // Loaded once: the records keep their samples for the whole run.
        // Without a GL context the pictures' uploads do nothing.
        static const bool loaded = [] {
            testing::internal::CaptureStdout();
            LoadResources();
            VXE_CreateBitmap(64, 32, &chip8bitmap);
            testing::internal::GetCapturedStdout();
            return true;
        }();
        (void)loaded;
        Quiet();
        // No keys, and a program waiting for one does not hold the test.
        chip8_setkeysource([] { return 0; });
        chip8_setwaithook([] { return 0; });
        copier_now = origin = 90000;  // the boot screen has taken its time
        mixed = 0;
        vxe_setclock(copier_clock);
        Start();
    }
    void TearDown() override
    {
        vxe_setclock(nullptr);
        chip8_setkeysource(nullptr);
        chip8_setwaithook(nullptr);
        Soundsystem_CloseAudio();
        audiodriver_setoffline(0);
        corefile_closeimage();
    }
    static void Quiet()
    {
        for (s_sound *s : {&floppyCorrupt, &floppyRead, &FloxaFinished, &snd_mouseClick, &demomusic})
            Soundsystem_StopSound(s);
    }
    // The state the frame loop begins with.
    void Start()
    {
        setDefaultValues();
        demoMode = gameactive = 1;
        ResetPointerState();
        chipRom = 0;
        FillBlock(0);
        Soundsystem_SetMusicVolume(255);
        starttime = prevFrameTimer = copier_now;
    }
    // One frame as the loop runs it without its drawing: the copier's
    // update, the frame's own time (the mixer playing what sounds
    // meanwhile), then the timeline.
    void Frame(int x, int y, int buttons, uint32_t ms = 15)
    {
        UpdateCopier(x, y, buttons);
        copier_now += ms;
        for (; mixed * 1000 < (uint64_t)(copier_now - origin) * 44100; mixed += AUDIODRIVER_FRAMES)
            audiodriver_mixbuffers(block.data(), (int)(block.size() * 2), 0);
        AdvanceTimeline();
    }
    void Frame(Point p, int buttons, uint32_t ms = 15) { Frame(p.x, p.y, buttons, ms); }
    // Press and release on p, one frame each.
    void Click(Point p)
    {
        Frame(p, 1);
        Frame(p, 0);
    }
    // Frames with the button up until `done` holds: their count, or -1
    // after `limit` frames.
    template <class F> int FramesUntil(F done, int limit, uint32_t ms = 15)
    {
        for (int n = 0; n < limit; n++) {
            if (done()) return n;
            Frame(NOWHERE, 0, ms);
        }
        return done() ? limit : -1;
    }
};
