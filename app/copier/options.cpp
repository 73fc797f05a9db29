// options: the copier's menu vocabulary.
#include "app/copier/options.h"

const char *const ccOptions[PART_COUNT] = {
    "DOSCOPY+",   "DOSCOPY",   "GOOGLYEYES", "MATRIXRAIN", "BALLZ3D",
    "PETALDANCE", "HEARTBEAT", "TWISTERBAR", "BUTTERFLY",  "SINUSBARS",
    "PARTYHEART", "WORMCHASE", "HEARTS3D",   "CHIP8 EMU",
};

const char *const ccRoms[ROM_COUNT] = {"TRIP8DEMO", "IBM LOGO", "MAZE", "ZERODEMO", "XMIRROR"};

const char *const ccRomfile[ROM_COUNT] = {"trip8.ch8", "ibmlogo.ch8", "maze.ch8", "zerodemo.ch8",
                                          "xmirror.ch8"};

const char *const ccSideOptions[3] = {"BOTH", "UPPER", "LOWER"};
const char *const ccBlendOptions[3] = {"RAM", "MIXED", "BLEND"};
