// music: renders a score as one seamless loop of mono samples.
#pragma once
#include <string>
#include <vector>

#include "tools/assetgen/score.h"

// The loop is exactly bars x rows rows long; notes still ringing at its
// end continue at its start, so the seam cannot click. The result peaks at
// 0.85 of full scale. False with a message on error.
bool RenderScore(const Score &score, int rate, std::vector<float> *out, std::string *error);
long RowLength(const Score &score, int rate);
