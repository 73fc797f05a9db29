// Command-line splitting into one block: the pointer array, then the text.
#include "engine/platform/cmdline.h"

#include <stdlib.h>
#include <string.h>

char **CommandLineToArgvA(const char *text, int *argc)
{
    if (!text) text = "";
    size_t len = strlen(text);
    // Every argument takes at least one character and a separator, so
    // (len+2)/2 pointers and the terminating null always suffice; the text
    // needs at most len characters plus one NUL per argument and the last.
    size_t pointers = (len + 2) / 2 + 1;
    char **argv = (char **)malloc(pointers * sizeof(char *) + len + 2);
    if (!argv) {
        *argc = 0;
        return nullptr;
    }
    char *out = (char *)(argv + pointers);

    int count = 0;
    size_t j = 0;
    bool inquotes = false, intext = false, atstart = true;
    for (size_t i = 0; i < len; i++) {
        char c = text[i];
        if (inquotes) {
            if (c == '"') inquotes = false;
            else out[j++] = c;
            continue;
        }
        switch (c) {
        case '"':
            inquotes = true;
            intext = true;
            if (atstart) argv[count++] = out + j;
            atstart = false;
            break;
        case ' ': case '\t': case '\n': case '\r':
            if (intext) out[j++] = '\0';
            intext = false;
            atstart = true;
            break;
        default:
            intext = true;
            if (atstart) argv[count++] = out + j;
            out[j++] = c;
            atstart = false;
            break;
        }
    }
    out[j] = '\0';
    argv[count] = nullptr;
    *argc = count;
    return argv;
}
