// gridshot's core: one effect part run from the program's start state for
// a number of frames, and the grid written as text. The snapshot tests and
// the tool share it.
#pragma once

#include <stdio.h>

struct s_gridshot {
    int part;         // 2-12, the effect parts
    int timer;        // effect timer of the first frame
    int frames;       // frames run, at least 1
    int px, py;       // the pointer in frame pixels (0 0: at rest)
    int blend;        // the blend field, 0-2
    int synch;        // the speed field, 0-9999
};

// Reads PART TIMER [FRAMES] [--pointer X Y] [--blend B] [--synch S] from
// argv[first..argc-1]. Returns 1, or 0 after saying what is wrong on err.
int ParseGridShot(int argc, char **argv, int first, s_gridshot *shot, FILE *err);
// Runs the shot; the grid is left in blockgrid.
void RunGridShot(const s_gridshot &shot);
// The grid as 18 lines of 44 numbers separated by single spaces.
void WriteGrid(FILE *out);
