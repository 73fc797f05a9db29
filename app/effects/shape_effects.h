// Effects built from the shapes: balls (or hearts, or butterflies) circling
// in depth, a drifting field of shapes, a beating shape, googly eyes that
// follow the pointer, and the flower-and-butterfly story.
#pragma once

#include "app/grid/blockgrid.h"

enum e_shapeType { SHAPE_DISC = 0, SHAPE_HEART = 1, SHAPE_BUTTERFLY = 2, SHAPE_FLOWER = 3 };
enum { numShapes = 16 };

struct vector3f {
    float x, y, z;
};

extern vector3f balls[5], sortedBalls[5];
extern float xShapes[numShapes], yShapes[numShapes], zShapes[numShapes];
extern unsigned char colShapes[numShapes][2];  // first colour, second colour
extern int dxl, dyl, dxr, dyr;                 // pupil offsets, -2, 0 or 2

// Puts the effects' state back as it is when the program starts.
void ResetShapeEffects();

// Copies n vectors, then sorts the copy by ascending z (stable).
void SortVector3f(vector3f *in, vector3f *out, int n);
void balls3d(e_shapeType shape, e_blendMode mode);
// New random shapes; the part table calls it on the field's first frame.
void initshapefield(bool colourful);
void shapefield(float t, e_shapeType shape, e_blendMode mode);
void shapebeat(float t, unsigned char colour1, unsigned char colour2, e_shapeType shape, e_blendMode mode);
// Looks toward the copier's pointer (mx, my), read once a frame.
void Eyes(e_blendMode mode);
void petaldance(float t);
