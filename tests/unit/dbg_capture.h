// What the debug channel prints while a piece of test code runs.
#pragma once

#include "engine/system/debug.h"

#include <cstdlib>
#include <string>

template <class F> std::string said(F f)
{
    char *text = nullptr;
    size_t length = 0;
    FILE *stream = open_memstream(&text, &length);
    _dbg_setstream(stream);
    f();
    _dbg_setstream(stdout);
    fclose(stream);
    std::string out(text, length);
    free(text);
    return out;
}
