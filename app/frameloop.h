// Application start-up and the frame loop: the timeline state (current
// part, effect timer, speed) and the adjustable copier settings, plus the
// timer arithmetic kept in small pure functions.
#ifndef FLOXA_FRAMELOOP_H
#define FLOXA_FRAMELOOP_H

#include <stdint.h>

// ---- timeline and mode ----
extern int gameactive;          // the frame loop runs while non-zero
extern int demoMode;            // 1: parts follow each other by themselves
extern int demoPart;            // current part, 0..13
extern int effectTimer;         // scaled milliseconds since the part began
extern float effectSpeed;       // scale of real time, synch / 4489
extern int synch;               // user speed value 0..9999; 4489 is 1.0
extern uint32_t starttime;      // clock when the copier screen first showed
extern uint32_t deltatime;      // milliseconds since starttime
extern uint32_t prevFrameTimer; // clock at the end of the previous frame
extern int currentframe;        // the post shader's time

// ---- copier settings ----
extern int footerMode;          // what the status line shows, 0..5
extern int startSector, endSector; // 0..81
extern int startSide, endSide;  // 0 or 1
extern int sideOption;          // grid half shown, 0..2
extern int blendMode;           // 0..2

// ---- frames ----
extern int framebuffer_id;      // the 320x200 frame everything is drawn into
extern int crtbuffer_id;        // 2048x1152, CRT pass
extern int screenbuffer_id;     // 1920x1080, CRT pass

// ---- sounds ----
struct s_sound;
extern s_sound demomusic;       // the looping music, started at start-up

// Starts the engine, runs the frame loop until Escape (or the window is
// closed), closes the video. The arguments are not used. Returns 0.
int coremain(int argc, char **argv);
// Puts the adjustable settings back to their defaults; leaves demoMode,
// the music volume and pop-ups alone.
void setDefaultValues();

// ---- timer arithmetic ----
enum { PART_DURATION = 7680, FIRST_DEMO_PART = 3, LAST_DEMO_PART = 12 };

// Speed factor for a synch value.
float SpeedFromSynch(int synch);
// Timer after a frame of `elapsed` real milliseconds: the single-precision
// sum, truncated, so fractions of a step are dropped every frame.
int AdvanceEffectTimer(int timer, uint32_t elapsed, float speed);
// Demo mode: at PART_DURATION the timer restarts and the next part of the
// cycle 3..12 begins.
void AdvanceDemoTimeline(int *timer, int *part);

#endif
