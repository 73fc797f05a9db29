// gridshot PART TIMER [FRAMES] [--pointer X Y] [--blend B] [--synch S]
// Prints the block grid an effect part leaves after FRAMES frames (default
// 1) from the program's start state, beginning at timer TIMER: for
// reviewing effects and for the snapshot fixtures.
#include <stdio.h>

#include "tools/gridshot/gridshot_run.h"

int main(int argc, char **argv)
{
    s_gridshot shot;
    if (!ParseGridShot(argc, argv, 1, &shot, stderr)) {
        fprintf(stderr,
                "usage: gridshot PART TIMER [FRAMES] [--pointer X Y] [--blend B] [--synch S]\n"
                "  PART 2-12 (the effects), TIMER the effect timer of the first frame;\n"
                "  frames advance the timer as a 15 ms frame at the speed S (4489 is 1.0).\n");
        return 2;
    }
    RunGridShot(shot);
    WriteGrid(stdout);
    return 0;
}
