// Scripted input: the script file's parser and its playback into the
// engine's pointer, button and key state.
#include "engine/platform/inputscript.h"

#include <ctype.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>

#include "engine/platform/clock.h"
#include "engine/platform/inputevents.h"

// A script is a short text; anything larger is not one.
static const long MAX_SCRIPT_BYTES = 1 << 20;
static const int MAX_COORDINATE = 1000000;

static s_inputscript g_script;
static int g_active;
static uint32_t g_start;
static uint32_t g_frames;
static int g_x, g_y;
static int g_pressed;
static unsigned char g_keys[256];

struct keyname {
    const char *name;
    int key;
};

static const keyname keynames[] = {
    {"escape", VXE_KEY_ESCAPE}, {"return", VXE_KEY_RETURN}, {"space", VXE_KEY_SPACE},
    {"tab", VXE_KEY_TAB},       {"backspace", VXE_KEY_BACKSPACE}, {"shift", VXE_KEY_SHIFT},
    {"control", VXE_KEY_CONTROL}, {"up", VXE_KEY_UP},     {"down", VXE_KEY_DOWN},
    {"left", VXE_KEY_LEFT},     {"right", VXE_KEY_RIGHT},
};

// Key code for a name in any case, -1 for none: the names above, one
// letter or one digit.
static int keyfor(char *name)
{
    for (char *c = name; *c; c++) *c = (char)tolower((unsigned char)*c);
    for (const keyname &k : keynames)
        if (!strcmp(name, k.name)) return k.key;
    if (name[0] && !name[1] && isalnum((unsigned char)name[0])) return toupper((unsigned char)name[0]);
    return -1;
}

// A whole number of at most `limit` from the whole word; 0 when it is not one.
static int number(const char *word, long limit, long *value)
{
    char *end = nullptr;
    if (!isdigit((unsigned char)word[0]) && word[0] != '-') return 0;
    const long v = strtol(word, &end, 10);
    if (*end || v > limit || v < -limit) return 0;
    *value = v;
    return 1;
}

// "1500ms" or "f900".
static int timeof(const char *word, s_scriptevent *e)
{
    const size_t n = strlen(word);
    char digits[16];
    if (n > 2 && n < sizeof digits + 2 && !strcmp(word + n - 2, "ms")) {
        memcpy(digits, word, n - 2);
        digits[n - 2] = '\0';
        e->frames = 0;
    } else if (n > 1 && n < sizeof digits + 1 && word[0] == 'f') {
        memcpy(digits, word + 1, n);
        e->frames = 1;
    } else {
        return 0;
    }
    long v;
    if (digits[0] == '-' || !number(digits, 0x7FFFFFFF, &v)) return 0;
    e->at = (uint32_t)v;
    return 1;
}

// One line's words into an event; returns the reason it is not one, or null.
static const char *parseline(char **words, int count, s_scriptevent *e)
{
    *e = s_scriptevent{};
    if (!timeof(words[0], e)) return "the time must be like 1500ms or f900";
    if (count < 2) return "an action must follow the time";
    const char *action = words[1];
    long x, y;
    if (!strcmp(action, "move")) {
        if (count != 4 || !number(words[2], MAX_COORDINATE, &x) || !number(words[3], MAX_COORDINATE, &y))
            return "move takes two whole numbers, X and Y";
        e->action = SCRIPT_MOVE;
        e->x = (int)x;
        e->y = (int)y;
    } else if (!strcmp(action, "press") || !strcmp(action, "release")) {
        if (count != 2) return "press and release take nothing more";
        e->action = action[0] == 'p' ? SCRIPT_PRESS : SCRIPT_RELEASE;
    } else if (!strcmp(action, "keydown") || !strcmp(action, "keyup")) {
        if (count != 3) return "keydown and keyup take one key name";
        e->key = keyfor(words[2]);
        if (e->key < 0) return "unknown key name";
        e->action = !strcmp(action, "keydown") ? SCRIPT_KEYDOWN : SCRIPT_KEYUP;
    } else {
        return "unknown action (move, press, release, keydown, keyup)";
    }
    return nullptr;
}

int vxe_parseinputscript(const char *text, const char *name, s_inputscript *script, char *error,
                         int errorsize)
{
    *script = s_inputscript{};
    int capacity = 0, line = 0;
    for (const char *p = text ? text : ""; *p;) {
        line++;
        const char *end = strchr(p, '\n');
        const size_t length = end ? (size_t)(end - p) : strlen(p);
        char buffer[256];
        if (length >= sizeof buffer) {
            snprintf(error, errorsize, "%s:%d: line too long", name, line);
            vxe_freeinputscript(script);
            return 0;
        }
        memcpy(buffer, p, length);
        buffer[length] = '\0';
        p += length + (end ? 1 : 0);
        if (char *hash = strchr(buffer, '#')) *hash = '\0';

        char *words[8];
        int count = 0;
        for (char *w = strtok(buffer, " \t\r"); w && count < 8; w = strtok(nullptr, " \t\r")) words[count++] = w;
        if (count == 0) continue;

        s_scriptevent e;
        const char *wrong = count == 8 ? "too many words" : parseline(words, count, &e);
        e.line = line;
        if (!wrong && script->count == capacity) {
            capacity = capacity ? 2 * capacity : 64;
            s_scriptevent *grown = (s_scriptevent *)realloc(script->events, sizeof(s_scriptevent) * capacity);
            if (!grown) wrong = "out of memory";
            else script->events = grown;
        }
        if (wrong) {
            snprintf(error, errorsize, "%s:%d: %s", name, line, wrong);
            vxe_freeinputscript(script);
            return 0;
        }
        script->events[script->count++] = e;
    }
    return 1;
}

void vxe_freeinputscript(s_inputscript *script)
{
    free(script->events);
    *script = s_inputscript{};
}

int vxe_startinputscript(const char *path, char *error, int errorsize)
{
    FILE *f = fopen(path, "rb");
    if (!f) {
        snprintf(error, errorsize, "%s: cannot be read", path);
        return 0;
    }
    char *text = (char *)malloc(MAX_SCRIPT_BYTES + 1);
    const size_t n = text ? fread(text, 1, MAX_SCRIPT_BYTES + 1, f) : 0;
    fclose(f);
    int ok = 0;
    if (!text) snprintf(error, errorsize, "%s: out of memory", path);
    else if (n > (size_t)MAX_SCRIPT_BYTES) snprintf(error, errorsize, "%s: larger than a script can be", path);
    else if (memchr(text, '\0', n)) snprintf(error, errorsize, "%s: not a text file", path);
    else {
        text[n] = '\0';
        ok = vxe_startinputscripttext(text, path, error, errorsize);
    }
    free(text);
    return ok;
}

int vxe_startinputscripttext(const char *text, const char *name, char *error, int errorsize)
{
    vxe_freeinputscript(&g_script);
    if (!vxe_parseinputscript(text, name, &g_script, error, errorsize)) return 0;
    g_active = 1;
    g_start = VXE_GetMillis();
    g_frames = 0;
    g_pressed = 0;
    memset(g_keys, 0, sizeof g_keys);
    return 1;
}

int vxe_inputscriptactive()
{
    return g_active;
}

void vxe_playinputscript(uint32_t millis, uint32_t frames)
{
    for (; g_script.next < g_script.count; g_script.next++) {
        const s_scriptevent &e = g_script.events[g_script.next];
        if ((e.frames ? frames : millis) < e.at) break;
        switch (e.action) {
        case SCRIPT_MOVE:
            g_x = e.x;
            g_y = e.y;
            break;
        // As the window's messages do, so a press between two frames counts.
        case SCRIPT_PRESS: vxe_msg_buttondown(1); g_pressed = 1; break;
        case SCRIPT_RELEASE: vxe_msg_buttonup(1); g_pressed = 0; break;
        case SCRIPT_KEYDOWN: g_keys[e.key & 0xFF] = 1; break;
        case SCRIPT_KEYUP: g_keys[e.key & 0xFF] = 0; break;
        }
    }
}

void vxe_scriptpointer(int *x, int *y)
{
    vxe_playinputscript(VXE_GetMillis() - g_start, g_frames);
    *x = g_x;
    *y = g_y;
}

void vxe_scriptkeys(unsigned char down[256])
{
    if (!g_active) return;
    vxe_playinputscript(VXE_GetMillis() - g_start, g_frames);
    for (int i = 0; i < 256; i++) down[i] |= g_keys[i];
}

const s_scriptevent *vxe_scriptoutside(int width, int height)
{
    for (int i = 0; i < g_script.count; i++) {
        const s_scriptevent &e = g_script.events[i];
        if (e.action == SCRIPT_MOVE && (e.x < 0 || e.y < 0 || e.x >= width || e.y >= height)) return &e;
    }
    return nullptr;
}

int vxe_scriptheld(int *button)
{
    vxe_playinputscript(VXE_GetMillis() - g_start, g_frames);
    int held = 0;
    for (unsigned char k : g_keys) held += k;
    *button = g_pressed;
    return held;
}

void vxe_countframe()
{
    g_frames++;
}
