// The application's state: the timeline (part, effect timer, speed), the
// copier's adjustable settings, the pointer and pop-up state, and the
// frame and shader handles. One instance each, shared by the frame loop,
// the copier screen, the controls and the parts.
#pragma once

#include <stdint.h>

struct s_sound;

// ---- timeline and mode ----
extern int gameactive;          // the frame loop runs while non-zero
extern int demoMode;            // 1: parts follow each other by themselves
extern int demoPart;            // current part, 0..13
extern int effectTimer;         // scaled milliseconds since the part began
extern float effectSpeed;       // scale of real time, synch / 4489 (0 when stopped)
extern int synch;               // user speed value 0..9999; 4489 is 1.0
extern int speedDivider;        // timer units per copied sector
extern uint32_t starttime;      // clock when the copier screen first showed
extern uint32_t deltatime;      // milliseconds since starttime
extern uint32_t prevFrameTimer; // clock at the end of the previous frame
extern int currentframe;        // the CRT shader's time
extern int partBegins;          // set when a part is chosen or reached; its first frame clears it

// ---- pointer and pop-ups ----
extern int mx, my;              // pointer in the 320x200 frame (may lie outside it)
extern int mb, oldmb;           // button mask of this frame and the previous one
extern int mouseClicked;        // set from a left press until no button is held
extern int popupMenu;           // 0 none, 1 mode menu, 2 program menu
extern int selectedChoice;      // row under the pointer in the open pop-up, -1 none
extern int chipRom;             // chosen CHIP-8 program, 0..4

// ---- copier settings ----
extern int footerMode;          // what the status line shows, 0..5
extern int startSector, endSector; // 0..81
extern int startSide, endSide;  // 0 or 1
extern int sideOption;          // grid half shown, 0..2
extern int blendMode;           // 0..2

// ---- frames and shader ----
extern int framebuffer_id;      // the 320x200 frame everything is drawn into
extern int crtbuffer_id;        // 2048x1152, the monitor
extern int screenbuffer_id;     // 1920x1080, the output
extern int postshader_id;       // the CRT shader, negative when it could not be built

// ---- sounds ----
extern s_sound demomusic;       // the looping music, started at start-up

enum { PART_DURATION = 7680, FIRST_DEMO_PART = 3, LAST_DEMO_PART = 12, CHIP8_PART = 13 };

// Puts the adjustable settings back to their defaults; leaves demoMode,
// the music volume and the pop-ups alone.
void setDefaultValues();
// The pointer at rest at the top left, no button, no pop-up open: as the
// program starts.
void ResetPointerState();
// Speed factor for a synch value.
float SpeedFromSynch(int synch);
