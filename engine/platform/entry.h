// What a program built on the engine provides. The platform's process
// entry reads the options, then calls coremain on the application thread,
// the way a framework with its own main calls the program's main. The
// description is read before coremain runs: the entry needs the data file's
// name and the picture a script's pointer moves in before anything starts.
#ifndef VXE_PLATFORM_ENTRY_H
#define VXE_PLATFORM_ENTRY_H

struct s_program {
    const char *name;          // in messages and the usage text
    const char *archive;       // data file, looked for beside the executable too
    int framewidth, frameheight; // the picture a script's pointer moves in
    double captureseconds;     // a capture's length when none is asked for
    const char *capturewhat;   // what that length holds, for the usage text
};

// Provided by the program.
extern const s_program vxe_program;
// The program's body on the application thread; its result is the
// process's exit status.
int coremain(int argc, char **argv);

#endif
