// Scripted input: timed pointer, button and key events read from a text
// file and played into the engine's input as a user would make them, so a
// show can be driven the same way every time.
//
// One event a line; '#' starts a comment, blank lines are skipped:
//
//   TIME ACTION [ARGUMENTS]
//
//   TIME    1500ms   milliseconds since the script was started, or
//           f900     the number of frames presented so far
//   ACTION  move X Y         the pointer to (X, Y) of the application's
//                            picture (for floxa the 320x200 frame)
//           press | release  the left button
//           keydown NAME | keyup NAME
//                            escape return space tab backspace shift
//                            control up down left right, a-z, 0-9
//
// Events play in file order: each waits for its time and for the events
// before it. While a script plays, the pointer is the script's (the
// application's own coordinates, no window mapping) and its keys add to
// the keyboard's.
#ifndef VXE_PLATFORM_INPUTSCRIPT_H
#define VXE_PLATFORM_INPUTSCRIPT_H

#include <stdint.h>

enum e_scriptaction { SCRIPT_MOVE, SCRIPT_PRESS, SCRIPT_RELEASE, SCRIPT_KEYDOWN, SCRIPT_KEYUP };

struct s_scriptevent {
    uint32_t at;            // milliseconds or frames
    int frames;             // 1: `at` counts presented frames
    e_scriptaction action;
    int x, y;               // SCRIPT_MOVE
    int key;                // SCRIPT_KEYDOWN / SCRIPT_KEYUP: engine key code 0..255
    int line;               // in the script's text, for messages
};

struct s_inputscript {
    s_scriptevent *events;  // malloc'ed
    int count;
    int next;               // first event not yet played
};

// Parses a script's text. Returns 1, or 0 with "NAME:LINE: reason" in
// error (and the script left empty).
int vxe_parseinputscript(const char *text, const char *name, s_inputscript *script, char *error,
                         int errorsize);
// Releases the events.
void vxe_freeinputscript(s_inputscript *script);

// Reads the file at path (the local file system, not the archive) and
// plays it from now on. Returns 1, or 0 with the reason in error.
int vxe_startinputscript(const char *path, char *error, int errorsize);
// Plays a script given as text (name stands for its file in messages).
int vxe_startinputscripttext(const char *text, const char *name, char *error, int errorsize);
// 1 while a started script holds the pointer.
int vxe_inputscriptactive();
// Plays the events due at `millis` since the start and `frames` presented
// frames. The input reads call it; tests call it directly.
void vxe_playinputscript(uint32_t millis, uint32_t frames);
// Pointer position and keys down as the script has left them.
void vxe_scriptpointer(int *x, int *y);
void vxe_scriptkeys(unsigned char down[256]);
// The first move of the playing script outside a width x height picture,
// or null. Such a move is played (the application decides what a pointer
// off its picture means), but it is worth a word to the script's author.
const s_scriptevent *vxe_scriptoutside(int width, int height);
// Keys the script holds down by now; *button is 1 when it holds the button.
int vxe_scriptheld(int *button);
// Counts a presented frame (VXE_SwapBuffers calls it on every present).
void vxe_countframe();

#endif
