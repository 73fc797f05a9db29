// Diagnostic channel on standard output. Fatal reports always reach
// standard output, even when the channel has been moved or silenced.
#include "engine/system/debug.h"

#include <cstdarg>
#include <cstdlib>

static FILE *dbg_stream;
static bool dbg_redirected;   // false: standard output

void _dbg_init()
{
}

void _dbg_shutdown()
{
}

void _dbg_setstream(FILE *stream)
{
    dbg_stream = stream;
    dbg_redirected = stream != stdout;
}

void _dbg_printf(const char *format, ...)
{
    FILE *out = dbg_redirected ? dbg_stream : stdout;
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
