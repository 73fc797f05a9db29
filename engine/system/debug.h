// The engine's diagnostic channel: formatted lines on standard output, a
// fatal assertion and a fatal error. No levels, no log file.
#pragma once

#include <cstdio>

// Nothing to set up on this platform; kept so callers have one place to hook.
void _dbg_init();
void _dbg_shutdown();

// printf-style output to the channel's stream (standard output unless
// _dbg_setstream chose another).
void _dbg_printf(const char *format, ...) __attribute__((format(printf, 1, 2)));

// Sends the channel to another stream; null silences it, and standard output
// is the default. Tools whose standard output carries data (corepack cat)
// move the diagnostics to standard error with it.
void _dbg_setstream(FILE *stream);

// Prints "SOURCE(LINE): assertion failed: EXPR" and exits with status 1.
[[noreturn]] void _dbg_assert(const char *source, int line, const char *expression);
// Prints "Error: MESSAGE" and exits with status 1.
[[noreturn]] void error(const char *message);
