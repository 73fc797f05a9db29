// sfx: sound effects from recipes of instruments and timed notes.
//
//   length 0.3                         seconds
//   level 0.8                          peak of the result
//   instrument NAME key=value...       see synth.h
//   note TIME INSTRUMENT PITCH GATE    seconds, pitch as in scores
//   repeat COUNT START STEP INSTRUMENT PITCH GATE
#pragma once
#include <string>
#include <vector>

bool RenderSfx(const std::string &path, int rate, std::vector<float> *out, std::string *error);
