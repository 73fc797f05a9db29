// The browser's C library draws other random numbers than Linux's: the show
// seeds and calls rand() (the disk copy's bad sectors, the rain's drops, the
// shapes), so it would play differently in the page. This is the GNU C
// library's rand() (its additive feedback generator with 31 words of state),
// so the page shows what the desktop shows, frame for frame.
#include <stdint.h>
#include <stdlib.h>

enum { WORDS = 31, SEPARATION = 3, DISCARDED = 10 * WORDS };

static int32_t g_state[WORDS];
static int g_front = SEPARATION, g_rear = 0;
static bool g_seeded;

void srand(unsigned seed)
{
    int32_t word = seed == 0 ? 1 : (int32_t)seed;
    g_state[0] = word;
    for (int i = 1; i < WORDS; i++) {
        // 16807 * word mod (2^31 - 1) without overflowing 32 bits.
        const int32_t hi = word / 127773, lo = word % 127773;
        word = 16807 * lo - 2836 * hi;
        if (word < 0) word += 2147483647;
        g_state[i] = word;
    }
    g_front = SEPARATION;
    g_rear = 0;
    g_seeded = true;
    for (int i = 0; i < DISCARDED; i++) rand();
}

int rand()
{
    if (!g_seeded) srand(1);
    const uint32_t value = (uint32_t)g_state[g_front] + (uint32_t)g_state[g_rear];
    g_state[g_front] = (int32_t)value;
    g_front = (g_front + 1) % WORDS;
    g_rear = (g_rear + 1) % WORDS;
    return (int)(value >> 1);
}
