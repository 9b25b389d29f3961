// SPDX-FileCopyrightText: 2026 The Glacimor developers
// SPDX-License-Identifier: GPL-3.0-or-later

// What is drawn next, handed to GL: the arrays of a draw, the current colour, normal and texture
// coordinate, the placing and projecting matrices, the light, wireframe, and the program.
//
// The one place where the two GL flavours differ. Desktop GL 2.1 (pipeline_gl.cpp) hands all of
// it to the fixed pipeline's own state, as the game has always drawn. WebGL 1 (pipeline_webgl.cpp)
// has no fixed pipeline: it keeps that state itself, passes it to the programs as uniforms and
// vertex attributes, stands in for the fixed pipeline with a program of its own, streams the arrays
// through buffers, and draws wireframe as lines. Everything that calls these draws the same in both.
#ifndef GLACIMOR_RENDER_PIPELINE_H
#define GLACIMOR_RENDER_PIPELINE_H

#include "render/matrix.h"

// The arrays of one draw, floats each: position x y z (required), normal x y z, texture
// coordinate s t and colour r g b (each may be absent: the current value then holds for every
// corner). Edge flags, one a corner, keep wireframe to the sides of the quads a draw is made of
// (a flag marks the edge from its corner to the triangle's next); without them every edge is drawn.
struct VertexArrays {
    const float* position = nullptr;
    const float* normal = nullptr;
    const float* texCoord = nullptr;
    const float* colour = nullptr;
    const unsigned char* edges = nullptr;
    // The arrays hold a model that never changes while the game runs (the cube, the skybox): the
    // browser keeps it in buffers of its own instead of sending it again for every draw. The desktop
    // draws it from the arrays where they are: a buffer there made no crowded frame faster and cost
    // the driver 55 ms of compiling in the second frame.
    bool fixedModel = false;
};

// Draws count corners as triangles. The current value of what an array gave is undefined after
// the draw (as GL's fixed pipeline leaves it): a caller that needs it sets it again.
void drawTriangles(const VertexArrays& arrays, int count);

// Draws the triangles that indexCount indices make of the arrays' first corners.
void drawIndexedTriangles(const VertexArrays& arrays, int corners, const unsigned short* indices, int indexCount);

// The current values, which hold for every corner of a draw whose arrays do not give them.
void setColour(float r, float g, float b);
void setNormal(float x, float y, float z);
void setTexCoord(float s, float t);

// Hands the matrix to GL as the one that places what is drawn next (modelview), or as the one
// that projects it (projection).
void loadModelview(const Matrix4& m);
void loadProjection(const Matrix4& m);

// Light `id` (GL_LIGHT0 ...): switched on, and its colours and place, the place taken through the
// modelview of the moment as GL does. The programs read light 0's place and diffuse colour.
void enableLight(unsigned id);
void disableLight(unsigned id);
void setLight(unsigned id, const float ambient[4], const float diffuse[4], const float specular[4],
              const float position[4]);

// The front material. The game never switches GL's lighting on, so no picture depends on it.
void setMaterial(const float ambient[4], const float diffuse[4], const float specular[4]);

// Polygons drawn as their edges (F3) or filled.
void setWireframe(bool on);

// The switches of the fixed pipeline that the game keeps on for the whole run (texturing,
// normalising, colour material), set once the context is made.
void enableFixedPipeline();

// Rows of pixels handed to GL next are padded to `alignment` bytes and start where they are given
// (desktop GL's row length and skips, which WebGL 1 does not have, set back to 0).
void unpackRowsAlignedTo(int alignment);

// The texture multiplies the colour (GL's texture environment; what stands in for the fixed
// pipeline in the browser always does).
void modulateTexture();

// Selects a program, 0 for the fixed pipeline (or what stands in for it). With a driver that has no
// programs to select (no glUseProgram), the fixed pipeline is all there is, and this does nothing.
void useProgram(unsigned int program);

// The text put before each shader file's own: the GLSL version and the names by which a shader
// reads the vertex, the matrices and the light (vertexPosition, modelviewMatrix, lampPosition...).
const char* shaderPrelude(bool vertexStage);

// Names the vertex inputs of a program before it is linked.
void bindVertexInputs(unsigned int program);

#endif
