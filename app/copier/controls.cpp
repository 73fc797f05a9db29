// controls: the copier's click actions, part selection, program choice and
// the per-frame pointer handling with its two pop-up menus.
#include "app/copier/controls.h"

#include <stdio.h>

#include "app/appstate.h"
#include "app/chip8/chip8.h"
#include "app/copier/copier_hittest.h"
#include "app/copier/diskcopy.h"
#include "app/copier/options.h"
#include "app/copier/popup.h"
#include "app/monitor/resources.h"
#include "engine/sound/soundsystem.h"

enum { MAX_SECTOR = DISK_SECTORS - 1, MAX_SYNCH = 9999, MUSIC_FULL = 255 };

// Where each pop-up opens and how many rows it lists.
struct s_popupplace {
    int x, y, count;
    const char *const *items;
};
static const s_popupplace modeMenu = {8, 56, MODE_MENU_ROWS, ccOptions};
static const s_popupplace programMenu = {48, 56, ROM_COUNT, ccRoms};

void SelectPart(int p)
{
    if (p < 0 || p > LAST_DEMO_PART) {
        printf("SelectPart: no part %d to choose\n", p);
        return;
    }
    demoPart = p;
    partBegins = 1;
    demoMode = 0;
    effectTimer = 0;
    effectSpeed = SpeedFromSynch(synch);
    if (p == 1) {
        // A copy from the start stalls only at its own bad sectors: an older
        // copy's timer would send it back to where that one was met. Bottom
        // button 1 keeps it, so a copy restarted mid-stall keeps its place.
        oldEffectTimer = 0;
        DiskCopyInit((int)starttime);
        // Only the drive noises are heard during a copy.
        Soundsystem_SetMusicVolume(0);
    } else {
        Soundsystem_SetMusicVolume(MUSIC_FULL);
    }
    if (p == 0) {
        setDefaultValues();
        demoMode = 1;
    }
    footerMode = 1;
}

static int sectorstep(int sector, int by) { return clip(sector + by, 0, MAX_SECTOR); }

static void setsynch(int value)
{
    synch = clip(value, 0, MAX_SYNCH);
    effectSpeed = SpeedFromSynch(synch);
}

// Next of the values 0..last, starting over after the last (and from
// anything out of range).
static int wrapnext(int value, int last) { return value >= 0 && value < last ? value + 1 : 0; }

void PerformClick(int code)
{
    switch (code) {
    case 0: break;
    case 1:
        // Resume: a copy on screen starts over with the music still silent.
        if (demoPart == 1) DiskCopyInit((int)starttime);
        else Soundsystem_SetMusicVolume(MUSIC_FULL);
        effectSpeed = SpeedFromSynch(synch);
        break;
    case 2:
        if (!floppyCorrupt.playing) Soundsystem_PlaySound(&floppyCorrupt, 0);
        break;
    case 3:
        // Stop: the music runs on silently so that resuming keeps its place.
        Soundsystem_SetMusicVolume(0);
        effectSpeed = 0;
        break;
    case 4: footerMode = 3; break;
    case 5:
        setDefaultValues();
        Soundsystem_SetMusicVolume(MUSIC_FULL);
        demoMode = 1;
        break;
    case 6: footerMode = 2; break;
    case 7: gameactive = 0; break;
    case 8: SelectPart(wrapnext(demoPart, LAST_DEMO_PART)); break;
    case 9: sideOption = wrapnext(sideOption, 2); break;
    case 10: blendMode = wrapnext(blendMode, 2); break;
    case 11: startSector = sectorstep(startSector, 10); break;
    case 12: startSector = sectorstep(startSector, 1); break;
    case 13: startSide = startSide == 0 ? 1 : 0; break;
    case 14: endSector = sectorstep(endSector, 10); break;
    case 15: endSector = sectorstep(endSector, 1); break;
    case 16: endSide = endSide == 0 ? 1 : 0; break;
    case 17: startSector = sectorstep(startSector, -10); break;
    case 18: startSector = sectorstep(startSector, -1); break;
    case 19: endSector = sectorstep(endSector, -10); break;
    case 20: endSector = sectorstep(endSector, -1); break;
    case 21: setsynch(synch + 1000); break;
    case 22: setsynch(synch + 100); break;
    case 23: setsynch(synch + 10); break;
    case 24: setsynch(synch + 1); break;
    case 25: setsynch(synch - 1000); break;
    case 26: setsynch(synch - 100); break;
    case 27: setsynch(synch - 10); break;
    case 28: setsynch(synch - 1); break;
    case 29: popupMenu = 1; break;
    case 30: popupMenu = 2; break;
    default: printf("PerformClick: no control has code %d\n", code); break;
    }
}

void ChooseProgram(int row)
{
    chipRom = clip(row, 0, ROM_COUNT - 1);
    // A program missing from the archive leaves the machine reset and
    // empty; the loader says so and the show goes on.
    chip8_resetcpu();
    chip8_loadrom(ccRomfile[chipRom]);
    demoPart = CHIP8_PART;
    partBegins = 1;
    footerMode = 5;
    demoMode = 0;
    popupMenu = 0;
}

static const s_popupplace *openpopup()
{
    if (popupMenu == 1) return &modeMenu;
    if (popupMenu == 2) return &programMenu;
    return nullptr;
}

void HandleMouse(int x, int y, int buttons)
{
    oldmb = mb;
    mb = buttons;
    // A zero coordinate keeps the previous one.
    if (x != 0) mx = x;
    if (y != 0) my = y;
    if (mb == 0) mouseClicked = 0;

    if ((mb & 1) && oldmb == 0) {
        if (!snd_mouseClick.playing) Soundsystem_PlaySound(&snd_mouseClick, 0);
        mouseClicked = 1;
        // An open pop-up lies over live controls (the stop button, the
        // part-name field, the arrows): a press anywhere in its box, row,
        // border or margin, is the pop-up's alone. Outside it the control
        // under the pointer still acts.
        const s_popupplace *open = openpopup();
        if (!open || !PopupCovers(open->x, open->y, open->count, mx, my))
            PerformClick(MouseCoordsToUIFunction(mx, my));
    }

    // The button stays "clicked" while held, so a press that moves onto a
    // row chooses it.
    if (popupMenu == 1) {
        selectedChoice = HandlePopup(modeMenu.x, modeMenu.y, modeMenu.items, modeMenu.count, mx, my);
        if (mouseClicked && selectedChoice >= 0) {
            SelectPart(selectedChoice);
            popupMenu = 0;
        }
    } else if (popupMenu == 2) {
        selectedChoice = HandlePopup(programMenu.x, programMenu.y, programMenu.items,
                                     programMenu.count, mx, my);
        if (selectedChoice >= 0 && mouseClicked) ChooseProgram(selectedChoice);
    }
}
