// SPDX-FileCopyrightText: 2026 The Glacimor developers
// SPDX-License-Identifier: GPL-3.0-or-later

// The cube model, one side turned into six places once, and the skybox, one quad turned
// between copies.
#include "render/geometry.h"

#include "render/gl.h"
#include "render/textures.h"

namespace {

// The four corners of the side at z = +1, counterclockwise seen from outside. Each normal
// points from the centre through its corner, so light varies smoothly across a side.
const double FACE[4][3] = {{1, 1, 1}, {-1, 1, 1}, {-1, -1, 1}, {1, -1, 1}};
const double FACE_TEX[4][2] = {{1, 0}, {0, 0}, {0, 1}, {1, 1}};

// One side of the skybox at z = +100, seen from inside the box.
void skyQuad()
{
    glBegin(GL_QUADS);
    glTexCoord2d(1, 1);
    glVertex3d(100, -100, 100);
    glTexCoord2d(0, 1);
    glVertex3d(-100, -100, 100);
    glTexCoord2d(0, 0);
    glVertex3d(-100, 100, 100);
    glTexCoord2d(1, 0);
    glVertex3d(100, 100, 100);
    glEnd();
}

// The sides of the cube in the order and colours the model has always been drawn in, each the
// side at z = +1 turned into its place by a quarter turn (a matrix of whole numbers, so the
// corners of neighbouring sides meet exactly).
struct CubeSide {
    double r, g, b;
    bool textured;
    int turn[3][3];
};

const CubeSide CUBE_SIDES[6] = {
    {0, 1, 0, true, {{1, 0, 0}, {0, 1, 0}, {0, 0, 1}}},    // back (+z), green
    {1, 1, 1, true, {{0, 0, -1}, {0, 1, 0}, {1, 0, 0}}},   // left (-x), white
    {1, 0, 0, true, {{-1, 0, 0}, {0, 1, 0}, {0, 0, -1}}},  // front (-z), red: the look direction
    {0, 0, 1, true, {{0, 0, 1}, {0, 1, 0}, {-1, 0, 0}}},   // right (+x), blue
    // Bottom and top carry no texture of their own: they show the texel at (1, 1), tinted grey.
    {0.8, 0.8, 0.8, false, {{0, 1, 0}, {0, 0, -1}, {-1, 0, 0}}}, // bottom (-y)
    {0.8, 0.8, 0.8, false, {{0, -1, 0}, {0, 0, 1}, {-1, 0, 0}}}, // top (+y)
};

// The whole cube as one display list of 24 corners already turned: every enemy, the player and
// the obstacles wear it, and the driver takes it as one ready primitive instead of six sides
// with five turns of the matrix for every cube in every frame. Made in the first context that
// draws a cube; the game has one context for its whole run.
GLuint cubeList = 0;

void compileCube()
{
    cubeList = glGenLists(1);
    glNewList(cubeList, GL_COMPILE);
    glBegin(GL_QUADS);
    for (const CubeSide& side : CUBE_SIDES) {
        glColor3d(side.r, side.g, side.b);
        for (int i = 0; i < 4; ++i) {
            double corner[3];
            for (int row = 0; row < 3; ++row)
                corner[row] = side.turn[row][0] * FACE[i][0] + side.turn[row][1] * FACE[i][1] +
                              side.turn[row][2] * FACE[i][2];
            glNormal3dv(corner); // from the centre through the corner, as on the side at z = +1
            glTexCoord2dv(side.textured ? FACE_TEX[i] : FACE_TEX[3]);
            glVertex3dv(corner);
        }
    }
    glEnd();
    glEndList();
}

} // namespace

void GM_GL_cube()
{
    if (cubeList == 0)
        compileCube();
    glCallList(cubeList);
}

void GM_GL_skybox()
{
    glLoadIdentity();
    glPushMatrix();
    glBindTexture(GL_TEXTURE_2D, textureList[TEX_WALL]);
    glTranslated(0, 99, 0);
    glColor3d(1, 1, 1);
    // Drawn under each quad's own rotation, this one normal points into the box on every side.
    glNormal3d(0, 0, -1);
    skyQuad();
    for (int wall = 0; wall < 3; ++wall) {
        glRotated(-90, 0, 1, 0);
        skyQuad();
    }
    glRotated(-90, 1, 0, 0);
    skyQuad(); // ceiling
    glRotated(180, 1, 0, 0);
    glBindTexture(GL_TEXTURE_2D, textureList[TEX_ICEGROUND]);
    skyQuad(); // floor
    glPopMatrix();
}

namespace {

struct FlakeVertex {
    double nx, ny, nz;
    double x, y, z;
};

// Two crossed diamonds, each a strip that draws one face, a degenerate turn, then the back face.
const FlakeVertex FLAKE_STRIPS[2][7] = {
    {{0, 0, -1, 0, 0.12, 0}, {0, 0, -1, 0.15, 0, 0}, {0, 0, -1, -0.15, 0, 0}, {0, 0, -1, 0, -0.12, 0},
     {0, 0, 1, -0.15, 0, 0}, {0, 0, 1, 0.15, 0, 0}, {0, 0, 1, 0, 0.15, 0}},
    {{1, 0, 0, 0, 0.12, 0}, {1, 0, 0, 0, 0, 0.15}, {1, 0, 0, 0, 0, -0.15}, {1, 0, 0, 0, -0.12, 0},
     {-1, 0, 0, 0, 0, -0.15}, {-1, 0, 0, 0, 0, 0.15}, {-1, 0, 0, 0, 0.15, 0}},
};

} // namespace

void GM_GL_flake(double x, double y, double z)
{
    for (const auto& strip : FLAKE_STRIPS) {
        glBegin(GL_TRIANGLE_STRIP);
        for (const FlakeVertex& v : strip) {
            glNormal3d(v.nx, v.ny, v.nz);
            glVertex3d(x + v.x, y + v.y, z + v.z);
        }
        glEnd();
    }
}
