// diskcopy: the simulated copy of a double-sided floppy disk.
#include "app/copier/diskcopy.h"

#include <stdlib.h>
#include <string.h>

#include "app/appstate.h"
#include "app/monitor/resources.h"
#include "app/monitor/statusline.h"
#include "engine/sound/soundsystem.h"

unsigned char sectormap[2][DISK_SECTORS];
int lastSector;
int oldEffectTimer;
unsigned char DisccopyDone;

// Block value of copy position q: side 0's sectors first, then side 1's.
static unsigned char sectorat(int q) { return sectormap[q / DISK_SECTORS][q % DISK_SECTORS]; }

// Timer units per sector; a broken setting still advances the copy
// rather than dividing by zero.
static int divider() { return speedDivider > 0 ? speedDivider : 1; }

void DiskCopyInit(int seed)
{
    CopyMessage = CopyMessageProgress;
    DisccopyDone = 0;
    srand((unsigned)seed);
    memset(sectormap, GOOD_SECTOR, sizeof sectormap);
    // Draws may repeat a sector: one to three bad ones.
    for (int i = 0; i < 3; i++) {
        const int side = rand() % 2;
        const int sector = rand() % DISK_SECTORS;
        sectormap[side][sector] = BAD_SECTOR;
    }
    footerMode = 4;
    // The head stands just before the position the timer points at, so a
    // fresh copy looks at position 0 too, and a restarted one does not go
    // back over sectors already passed.
    lastSector = clip(effectTimer / divider(), 0, DISK_POSITIONS + 1) - 1;
}

void DiskCopy(e_blendMode blendMode)
{
    const int units = divider();
    FillBlock(0);
    int p = clip(effectTimer / units, 0, DISK_POSITIONS + 1);

    // A long frame may move several sectors at once: the first bad one
    // passed on the way counts as reached, as if the frame had ended there.
    for (int q = lastSector + 1 > 0 ? lastSector + 1 : 0; q < p && q < DISK_POSITIONS; q++) {
        if (sectorat(q) == BAD_SECTOR) {
            p = q;
            effectTimer = q * units;
            break;
        }
    }

    const int drawn = p < DISK_POSITIONS ? p : DISK_POSITIONS;
    for (int q = 0; q < drawn; q++)
        DrawSector(q / DISK_SECTORS, q % DISK_SECTORS, sectorat(q), blendMode);

    if (drawn == DISK_POSITIONS && !DisccopyDone) {
        CopyMessage = CopyMessageFinished;
        if (!FloxaFinished.playing) Soundsystem_PlaySound(&FloxaFinished, 0);
        DisccopyDone = 1;
    }

    // The head's noise for the sector it is about to copy.
    bool pending = false;
    if (p < DISK_POSITIONS) {
        if (sectorat(p) == BAD_SECTOR) {
            if (!floppyCorrupt.playing) {
                oldEffectTimer = effectTimer;
                Soundsystem_PlaySound(&floppyCorrupt, 0);
            } else {
                // Another error noise is still sounding: this sector's turn
                // comes when the copy reaches it again.
                pending = true;
            }
        } else if (!floppyRead.playing && lastSector != p) {
            Soundsystem_PlaySound(&floppyRead, 0);
        }
    }

    // While the error noise plays the copy waits one sector past the bad one.
    if (floppyCorrupt.playing) effectTimer = oldEffectTimer + units;

    lastSector = pending ? p - 1 : p;
    footerMode = 4;
}
