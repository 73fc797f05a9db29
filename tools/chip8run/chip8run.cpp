// chip8run: runs a CHIP-8 program headless on the demo's interpreter and
// prints its display.
//
//   chip8run PROGRAM.ch8 [--frames N] [--keys SCRIPT] [--png FILE]
//
// A frame is what the demo does per frame: sample the keypad, then 50
// steps. Time is virtual, exactly 15 ms per frame, so the timers tick every
// second frame as they do in the demo. SCRIPT is a comma-separated list of
// FRAME:KEY+ (press) and FRAME:KEY- (release), applied at the start of that
// frame. Standard output gets only the 32 display lines.
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "app/chip8/chip8.h"
#include "app/chip8/chip8draw.h"
#include "engine/capture/pngframe.h"
#include "engine/platform/clock.h"

namespace {

const int STEPS_PER_FRAME = 50;
const uint32_t FRAME_MS = 15;
// Any start later than the 20 ms timer period makes the first step tick,
// as the first step in the demo does.
const uint32_t START_MS = 1000;
const int PNG_SCALE = 8;

struct KeyChange {
    int frame;
    int bit;
    bool down;
};

std::vector<KeyChange> script;
int frame;
int frames = 60;
int keyword;
bool gaveup;
uint32_t now = START_MS;

uint32_t virtualclock() { return now; }
int scriptedkeys() { return keyword; }

void applykeys()
{
    for (const KeyChange &k : script)
        if (k.frame == frame) keyword = k.down ? keyword | k.bit : keyword & ~k.bit;
}

void nextframe()
{
    frame++;
    now += FRAME_MS;
    applykeys();
}

// FX0A blocks the demo's frame loop while real time runs on; here virtual
// frames run on until a scripted key comes or the frames are used up.
int waitframe()
{
    if (frame + 1 >= frames) {
        gaveup = true;
        return 0;
    }
    nextframe();
    return 1;
}

bool parsecount(const char *text, int &value)
{
    char *end = nullptr;
    long v = strtol(text, &end, 10);
    if (end == text || *end || v < 0 || v > 100000000) return false;
    value = (int)v;
    return true;
}

bool parsescript(const std::string &text)
{
    static const struct { const char *name; int bit; } keys[] = {
        {"up", 0x1}, {"down", 0x2}, {"left", 0x4}, {"right", 0x8}, {"space", 0x10},
        {"ctrl", 0x20}, {"shift", 0x40}, {"z", 0x80}, {"enter", 0x1000},
    };
    size_t start = 0;
    while (start <= text.size()) {
        size_t comma = text.find(',', start);
        if (comma == std::string::npos) comma = text.size();
        std::string item = text.substr(start, comma - start);
        start = comma + 1;
        size_t colon = item.find(':');
        KeyChange k = {0, 0, false};
        if (colon != std::string::npos && item.size() > colon + 2 &&
            parsecount(item.substr(0, colon).c_str(), k.frame)) {
            char sign = item.back();
            std::string name = item.substr(colon + 1, item.size() - colon - 2);
            for (const auto &key : keys)
                if (name == key.name) k.bit = key.bit;
            k.down = sign == '+';
            if (k.bit && (sign == '+' || sign == '-')) {
                script.push_back(k);
                continue;
            }
        }
        fprintf(stderr, "chip8run: bad key change '%s' (want FRAME:KEY+ or FRAME:KEY-, KEY one of "
                        "up down left right space ctrl shift z enter)\n", item.c_str());
        return false;
    }
    return true;
}

bool readprogram(const char *name, std::vector<unsigned char> &bytes)
{
    FILE *f = fopen(name, "rb");
    if (!f) return false;
    unsigned char buffer[4096];
    size_t n;
    while ((n = fread(buffer, 1, sizeof buffer, f)) > 0) {
        if (bytes.size() <= (size_t)CHIP8_MAXROM) bytes.insert(bytes.end(), buffer, buffer + n);
    }
    bool ok = !ferror(f);
    fclose(f);
    return ok;
}

bool writepng(const char *name)
{
    const int w = 64 * PNG_SCALE, h = 32 * PNG_SCALE;
    std::vector<uint8_t> grey((size_t)w * h);
    for (int y = 0; y < h; y++)
        for (int x = 0; x < w; x++) grey[(size_t)y * w + x] = chip8_pixel(x / PNG_SCALE, y / PNG_SCALE) ? 255 : 0;
    return pngframe_writeimage(name, grey.data(), w, h, 1);
}

int usage()
{
    fprintf(stderr, "usage: chip8run PROGRAM.ch8 [--frames N] [--keys SCRIPT] [--png FILE]\n");
    return 2;
}

}  // namespace

int main(int argc, char **argv)
{
    const char *program = nullptr, *pngname = nullptr;
    for (int i = 1; i < argc; i++) {
        bool hasvalue = i + 1 < argc;
        if (!strcmp(argv[i], "--frames") && hasvalue) {
            if (!parsecount(argv[++i], frames)) return usage();
        } else if (!strcmp(argv[i], "--keys") && hasvalue) {
            if (!parsescript(argv[++i])) return 2;
        } else if (!strcmp(argv[i], "--png") && hasvalue) {
            pngname = argv[++i];
        } else if (argv[i][0] == '-' || program) {
            return usage();
        } else {
            program = argv[i];
        }
    }
    if (!program) return usage();

    std::vector<unsigned char> bytes;
    if (!readprogram(program, bytes)) {
        fprintf(stderr, "chip8run: cannot read %s\n", program);
        return 1;
    }
    vxe_setclock(virtualclock);
    chip8_setkeysource(scriptedkeys);
    chip8_setwaithook(waitframe);
    chip8_resetcpu();
    if (chip8_loadbytes(bytes.data(), (int)bytes.size()) < (int)bytes.size())
        fprintf(stderr, "chip8run: %s is longer than %d bytes; the rest is not loaded\n", program, CHIP8_MAXROM);

    applykeys();
    while (frame < frames && !gaveup) {
        chip8_handlekeys();
        for (int s = 0; s < STEPS_PER_FRAME && !gaveup; s++) chip8_runcpu();
        if (!gaveup && frame + 1 < frames) nextframe();
        else break;
    }
    if (gaveup)
        fprintf(stderr, "chip8run: the program waits for a key at 0x%03X and none comes; stopped in frame %d\n",
                chip_programcounter, frame);

    for (int y = 0; y < 32; y++) {
        char line[65];
        for (int x = 0; x < 64; x++) line[x] = chip8_pixel(x, y) ? '#' : '.';
        line[64] = '\0';
        puts(line);
    }
    if (pngname && !writepng(pngname)) {
        fprintf(stderr, "chip8run: cannot write %s\n", pngname);
        return 1;
    }
    return 0;
}
