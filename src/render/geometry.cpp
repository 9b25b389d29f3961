// SPDX-FileCopyrightText: 2026 The Glacimor developers
// SPDX-License-Identifier: GPL-3.0-or-later

// The cube model, one side turned into six places once, the skybox, one quad turned between
// copies, and the snowflakes, drawn as vertex arrays of floats: what desktop GL and a browser's
// GL both draw.
#include "render/geometry.h"

#include "render/gl.h"
#include "render/pipeline.h"
#include "render/textures.h"

#include <vector>

namespace {

// A quad as the two triangles the driver makes of it: corners 0 1 3, then 1 2 3. The edge flags
// keep wireframe to the quad's four sides: the diagonal each triangle adds is flagged off (a flag
// marks the edge from its corner to the next one of the triangle).
const int QUAD_CORNERS[6] = {0, 1, 3, 1, 2, 3};
const unsigned char QUAD_EDGES[6] = {1, 0, 1, 1, 1, 0};
constexpr int QUAD_VERTICES = 6;

// The four corners of the side at z = +1, counterclockwise seen from outside. Each normal
// points from the centre through its corner, so light varies smoothly across a side.
const float FACE[4][3] = {{1, 1, 1}, {-1, 1, 1}, {-1, -1, 1}, {1, -1, 1}};
const float FACE_TEX[4][2] = {{1, 0}, {0, 0}, {0, 1}, {1, 1}};

// One side of the skybox at z = +100, seen from inside the box, as two triangles.
const float SKY_POSITION[QUAD_VERTICES * 3] = {100,  -100, 100, -100, -100, 100, 100, 100, 100,
                                               -100, -100, 100, -100, 100,  100, 100, 100, 100};
const float SKY_TEX[QUAD_VERTICES * 2] = {1, 1, 0, 1, 1, 0, 0, 1, 0, 0, 1, 0};

void skyQuad(const Matrix4& place)
{
    loadModelview(place);
    VertexArrays a;
    a.position = SKY_POSITION;
    a.texCoord = SKY_TEX;
    a.edges = QUAD_EDGES;
    a.fixedModel = true;
    drawTriangles(a, QUAD_VERTICES);
}

// The sides of the cube in the order and colours the model has always been drawn in, each the
// side at z = +1 turned into its place by a quarter turn (a matrix of whole numbers, so the
// corners of neighbouring sides meet exactly).
struct CubeSide {
    float r, g, b;
    bool textured;
    int turn[3][3];
};

const CubeSide CUBE_SIDES[6] = {
    {0, 1, 0, true, {{1, 0, 0}, {0, 1, 0}, {0, 0, 1}}},    // back (+z), green
    {1, 1, 1, true, {{0, 0, -1}, {0, 1, 0}, {1, 0, 0}}},   // left (-x), white
    {1, 0, 0, true, {{-1, 0, 0}, {0, 1, 0}, {0, 0, -1}}},  // front (-z), red: the look direction
    {0, 0, 1, true, {{0, 0, 1}, {0, 1, 0}, {-1, 0, 0}}},   // right (+x), blue
    // Bottom and top carry no texture of their own: they show the texel at (1, 1), tinted grey.
    {0.8f, 0.8f, 0.8f, false, {{0, 1, 0}, {0, 0, -1}, {-1, 0, 0}}}, // bottom (-y)
    {0.8f, 0.8f, 0.8f, false, {{0, -1, 0}, {0, 0, 1}, {-1, 0, 0}}}, // top (+y)
};

constexpr int CUBE_VERTICES = 6 * QUAD_VERTICES;

// The whole cube as arrays of 36 corners already turned: every enemy, the player and the
// obstacles wear it, and the driver takes it as one draw instead of six sides with five turns
// of the matrix for every cube in every frame. Made once, on the first draw.
struct CubeModel {
    float position[CUBE_VERTICES * 3];
    float normal[CUBE_VERTICES * 3];
    float texCoord[CUBE_VERTICES * 2];
    float colour[CUBE_VERTICES * 3];
    unsigned char edges[CUBE_VERTICES];

    CubeModel()
    {
        int v = 0;
        for (const CubeSide& side : CUBE_SIDES) {
            for (int k = 0; k < QUAD_VERTICES; ++k, ++v) {
                const int i = QUAD_CORNERS[k];
                for (int row = 0; row < 3; ++row) {
                    const float c = static_cast<float>(side.turn[row][0]) * FACE[i][0] +
                                    static_cast<float>(side.turn[row][1]) * FACE[i][1] +
                                    static_cast<float>(side.turn[row][2]) * FACE[i][2];
                    position[3 * v + row] = c;
                    normal[3 * v + row] = c; // from the centre through the corner, as on the side at z = +1
                }
                const float* tex = side.textured ? FACE_TEX[i] : FACE_TEX[3];
                texCoord[2 * v] = tex[0];
                texCoord[2 * v + 1] = tex[1];
                colour[3 * v] = side.r;
                colour[3 * v + 1] = side.g;
                colour[3 * v + 2] = side.b;
                edges[v] = QUAD_EDGES[k];
            }
        }
    }
};

} // namespace

void GM_GL_cube()
{
    static const CubeModel cube;
    VertexArrays a;
    a.position = cube.position;
    a.normal = cube.normal;
    a.texCoord = cube.texCoord;
    a.colour = cube.colour;
    a.edges = cube.edges;
    a.fixedModel = true;
    drawTriangles(a, CUBE_VERTICES);
    // Arrays leave the current values undefined: put back what the last corner of the top set.
    setColour(0.8f, 0.8f, 0.8f);
    setNormal(1, 1, -1);
    setTexCoord(1, 1);
}

void GM_GL_skybox()
{
    // Each side is the one quad under the turns of the sides before it.
    Matrix4 place = translated(Matrix4(), 0, 99, 0);
    glBindTexture(GL_TEXTURE_2D, textureList[TEX_WALL]);
    setColour(1, 1, 1);
    // Drawn under each quad's own rotation, this one normal points into the box on every side.
    setNormal(0, 0, -1);
    skyQuad(place);
    for (int wall = 0; wall < 3; ++wall) {
        place = rotatedY(place, -90);
        skyQuad(place);
    }
    place = rotatedX(place, -90);
    skyQuad(place); // ceiling
    place = rotatedX(place, 180);
    glBindTexture(GL_TEXTURE_2D, textureList[TEX_ICEGROUND]);
    skyQuad(place); // floor
    loadModelview(Matrix4());
    setTexCoord(1, 0); // as the last corner of the floor left it
}

namespace {

struct FlakeVertex {
    float nx, ny, nz;
    double x, y, z;
};

// Two crossed diamonds, each a strip of seven corners that draws one face, a degenerate turn,
// then the back face.
constexpr int FLAKE_STRIP = 7;
constexpr int FLAKE_CORNERS = 2 * FLAKE_STRIP;
const FlakeVertex FLAKE_STRIPS[2][FLAKE_STRIP] = {
    {{0, 0, -1, 0, 0.12, 0}, {0, 0, -1, 0.15, 0, 0}, {0, 0, -1, -0.15, 0, 0}, {0, 0, -1, 0, -0.12, 0},
     {0, 0, 1, -0.15, 0, 0}, {0, 0, 1, 0.15, 0, 0}, {0, 0, 1, 0, 0.15, 0}},
    {{1, 0, 0, 0, 0.12, 0}, {1, 0, 0, 0, 0, 0.15}, {1, 0, 0, 0, 0, -0.15}, {1, 0, 0, 0, -0.12, 0},
     {-1, 0, 0, 0, 0, -0.15}, {-1, 0, 0, 0, 0, 0.15}, {-1, 0, 0, 0, 0.15, 0}},
};

// Each strip as the five triangles the driver makes of it (the degenerate one kept: wireframe
// draws its edges), so that any number of flakes is one list of triangles.
constexpr int FLAKE_INDICES = 2 * (FLAKE_STRIP - 2) * 3;

// Flakes per draw: their corners stay within what 16-bit indices reach.
constexpr long FLAKES_PER_DRAW = 4096;

struct SnowArrays {
    std::vector<float> position;
    std::vector<float> normal;
    std::vector<unsigned short> indices; // FLAKES_PER_DRAW flakes' triangles, the same for every draw

    SnowArrays()
    {
        for (long flake = 0; flake < FLAKES_PER_DRAW; ++flake)
            for (int strip = 0; strip < 2; ++strip)
                for (int k = 0; k + 2 < FLAKE_STRIP; ++k) {
                    const long first = flake * FLAKE_CORNERS + strip * FLAKE_STRIP + k;
                    // Every second triangle of a strip turns the other way: swap its first two.
                    const long a = k % 2 ? first + 1 : first;
                    const long b = k % 2 ? first : first + 1;
                    indices.push_back(static_cast<unsigned short>(a));
                    indices.push_back(static_cast<unsigned short>(b));
                    indices.push_back(static_cast<unsigned short>(first + 2));
                }
    }
};

} // namespace

void GM_GL_flakes(const vec3* centres, long count)
{
    static SnowArrays snow;
    const std::size_t floats = static_cast<std::size_t>(count) * FLAKE_CORNERS * 3;
    if (snow.position.size() < floats) {
        snow.position.resize(floats);
        snow.normal.resize(floats);
    }
    float* position = snow.position.data();
    float* normal = snow.normal.data();
    for (long i = 0; i < count; ++i) {
        const vec3& c = centres[i];
        for (const auto& strip : FLAKE_STRIPS)
            for (const FlakeVertex& v : strip) {
                // Summed in double, as the flake's place is kept, then handed over as floats.
                *position++ = static_cast<float>(c.x + v.x);
                *position++ = static_cast<float>(c.y + v.y);
                *position++ = static_cast<float>(c.z + v.z);
                *normal++ = v.nx;
                *normal++ = v.ny;
                *normal++ = v.nz;
            }
    }
    for (long first = 0; first < count; first += FLAKES_PER_DRAW) {
        const long flakes = count - first < FLAKES_PER_DRAW ? count - first : FLAKES_PER_DRAW;
        const std::size_t offset = static_cast<std::size_t>(first) * FLAKE_CORNERS * 3;
        VertexArrays a;
        a.position = snow.position.data() + offset;
        a.normal = snow.normal.data() + offset;
        drawIndexedTriangles(a, static_cast<int>(flakes * FLAKE_CORNERS), snow.indices.data(),
                             static_cast<int>(flakes * FLAKE_INDICES));
    }
    if (count > 0)
        setNormal(-1, 0, 0); // as the last corner of a flake left it
}

void GM_GL_flake(double x, double y, double z)
{
    const vec3 centre(x, y, z);
    GM_GL_flakes(&centre, 1);
}
