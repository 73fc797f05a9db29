// The pure arithmetic of 2D and 3D drawing: visibility of quads and lines
// against the drawing target, and the perspective and viewing matrices.
// Matrices are 16 doubles, column-major, as glMultMatrixd takes them.
#pragma once

// A quad at (x, y) of size (w, h) touches the W x H target (strict
// comparisons: an edge lying exactly on the border does not count).
bool vxe_quadvisible(float x, float y, float w, float h, int W, int H);
// Some end point lies inside the rows and some end point (maybe the other
// one) inside the columns of the W x H target.
bool vxe_linevisible(float x1, float y1, float x2, float y2, int W, int H);

// glFrustum matrix for a vertical field of view in degrees. Returns false,
// leaving m alone, for a frustum glFrustum would refuse (empty, or a clip
// plane at or behind the eye).
bool vxe_perspectivematrix(double m[16], double fov, double aspect, double znear, double zfar);
// Viewing matrix for a camera at eye looking at center (yaw and pitch, no
// roll). Returns false, leaving m alone, when eye and center coincide.
bool vxe_lookatmatrix(double m[16], double eyex, double eyey, double eyez,
                      double centerx, double centery, double centerz);
