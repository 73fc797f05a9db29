// CHIP-8 character set selected by FX29: the 16 small hex glyphs (5 bytes
// each, offset 5k) followed by 16 large glyphs (10 bytes each, offset 80).
#pragma once

const int CHIP8_CHARACTERS_SIZE = 240;
extern const unsigned char chip_characters[CHIP8_CHARACTERS_SIZE];
