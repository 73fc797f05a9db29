// Diagnostic channel on standard output. Fatal reports always reach
// standard output, even when the channel has been moved or silenced.
#include "engine/system/debug.h"

#include <cstdarg>
#include <cstdlib>

static FILE *g_dbgstream;
static bool g_dbgredirected;   // false: standard output

void _dbg_init()
{
}

void _dbg_shutdown()
{
}

void _dbg_setstream(FILE *stream)
{
    g_dbgstream = stream;
    g_dbgredirected = stream != stdout;
}

void _dbg_printf(const char *format, ...)
{
    FILE *out = g_dbgredirected ? g_dbgstream : stdout;
    if (!out)
        return;
    va_list args;
    va_start(args, format);
    vfprintf(out, format, args);
    va_end(args);
}

void _dbg_assert(const char *source, int line, const char *expression)
{
    printf("%s(%d): assertion failed: %s\n", source, line, expression);
    exit(1);
}

void error(const char *message)
{
    printf("Error: %s\n", message);
    exit(1);
}
