// The flat effects of the track maps: a turning twister bar, a lattice of
// moving lines, a matrix-style rain and a chain of discs on a figure-eight.
// Each redraws the whole grid once a frame.
#pragma once

#include "app/grid/blockgrid.h"

enum { amount = 44 };  // rain drops

extern float frame;   // the twister's time, effectTimer / 1000
extern float phase;   // the twister's angle at the current column
extern float shift, scale;  // the bar's centre row and half-height
extern float PhaseOneQuarter, PhaseTwoQuarter, PhaseThreeQuarter, PhaseFourQuarter;
extern float xDroplet[amount], yDroplet[amount];  // drop columns and head rows

// Puts the effects' state back as it is when the program starts.
void ResetGridEffects();

void Twisterbar();
void SinusLines(e_blendMode mode);
// New random drops; the part table calls it on the rain's first frame.
void initmatrixrain();
void matrixrain(float t);
void endlessworms(float t, e_blendMode mode);
