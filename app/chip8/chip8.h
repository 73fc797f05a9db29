// CHIP-8 machine: state, reset, program loading, keypad and the
// one-instruction step.
//
// One machine, held in globals. The core does no I/O beyond loading a
// program through the virtual file system and tracing each step in the
// empty chip8font, which draws nothing; keys and time come from the
// engine (VXE_GetKeys, VXE_GetMillis) or from hooks a headless runner
// installs, so the demo and tools/chip8run execute the same code.
#pragma once

#include <cstdint>

#include "engine/graphics/font.h"

// ---- Machine state (zero at program start) --------------------------------
extern unsigned char chip_memory[4096];   // address space 0x000-0xFFF; programs at 0x200
extern unsigned char chip_vreg[16];       // V0..VF; VF doubles as flag register
extern uint32_t chip_stack[64];           // return addresses (address of the call)
extern int chip_stackpointer;             // entries on the stack
extern int chip_programcounter;           // address of the next instruction
extern int chip_iregister;                // I: offset into chip_memory, or chip_characters after FX29
extern int32_t chip_delaytimer;
extern int32_t chip_soundtimer;           // counts down; never makes a tone
extern unsigned char chip_screen[1024];   // 1 bit per pixel, MSB leftmost; bytes 256+ are spill room
extern int chip_screenwidth;              // 64 after a reset
extern int chip_screenheight;             // 32 after a reset
extern int chip_keypressed;               // 0 none, else keypad key + 1
extern int chip_charset;                  // font flag: next sprite reads chip_characters
extern int chip_romsize;                  // bytes of the program loaded last
extern uint32_t chiptime;                 // clock reading at the last timer step
extern s_font chip8font;                  // instruction trace font; never loaded, so the trace is blank

// Room for a program: 0x200 up to the end of memory.
const int CHIP8_MAXROM = 4096 - 0x200;

// ---- Machine operations ----------------------------------------------------
// Clears memory and display, PC = 0x200, I, timers and stack pointer 0,
// display 64x32. Registers, stack contents, keypad, font flag and chiptime
// are left as they are.
void chip8_resetcpu();
// Loads a program from the mounted file system to 0x200 and points PC at
// it. A missing file loads nothing; a program longer than CHIP8_MAXROM is
// cut to fit. Both are reported on standard output.
void chip8_loadrom(const char *name);
// Places size bytes at 0x200 (cut to CHIP8_MAXROM), sets chip_romsize and
// PC. Returns the number of bytes placed. For programs not in the archive.
int chip8_loadbytes(const unsigned char *data, int size);

// ---- Keypad ----------------------------------------------------------------
// Records keypad key 0-15 as the one pressed key.
void chip8_keypress(int key);
// Samples the key word once and maps it onto the keypad; the last mapped
// key in the order left, right, up, down, space, ctrl, shift, Z, Enter wins.
void chip8_handlekeys();
// Replaces the key word source (the engine's VXE_GetKeys held mask by
// default); null restores it. Runners script keys through this.
void chip8_setkeysource(int (*source)());
// Called between key samples while FX0A waits. Returning 0 abandons the
// wait for this step: PC stays on the FX0A, which waits again next step.
// Null (the default) waits until a key comes, as the demo does.
void chip8_setwaithook(int (*wait)());

// ---- Execution ---------------------------------------------------------------
// Traces and executes one instruction, then steps the timers once if more than 20 ms
// passed since the last timer step.
void chip8_runcpu();
