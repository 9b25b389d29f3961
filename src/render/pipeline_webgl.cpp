// SPDX-FileCopyrightText: 2026 The Glacimor developers
// SPDX-License-Identifier: GPL-3.0-or-later

// WebGL 1 (OpenGL ES 2.0): no fixed pipeline, no client arrays, no polygon mode. The state the
// desktop hands to the fixed pipeline is kept here and given to each program as it draws: the
// matrices and the lamp as uniforms, the current colour, normal and texture coordinate as the
// values of vertex inputs without an array. Where the game selects no program, one of this file's
// own does what the desktop's fixed pipeline does with the game's switches (lighting off, the
// texture modulating the colour). Arrays are streamed through a buffer; the fixed models keep
// buffers of their own. Wireframe is drawn as lines along the flagged edges of the triangles that
// face the eye, as desktop GL draws polygons in line mode with the back faces culled.
#include "render/pipeline.h"

#include "render/gl.h"
#include "render/shader.h"

#include <cstddef>
#include <cstdio>
#include <unordered_map>
#include <vector>

namespace {

// The vertex inputs by the names the shaders read them, at fixed places bound before each link.
enum Input : GLuint { POSITION = 0, NORMAL = 1, COLOUR = 2, TEXCOORD = 3 };
constexpr GLuint INPUTS = 4;
const char* const INPUT_NAMES[INPUTS] = {"vertexPosition", "vertexNormal", "vertexColour", "vertexTexCoord"};
const int INPUT_SIZES[INPUTS] = {3, 3, 3, 2}; // floats a corner, as VertexArrays holds them

// The stand-in for the fixed pipeline, read after the same preludes as the game's shader files.
const char* const FIXED_VERTEX = "void main()\n"
                                 "{\n"
                                 "    frontColour = vertexColour;\n"
                                 "    texCoord0 = vertexTexCoord;\n"
                                 "    gl_Position = clipPosition();\n"
                                 "}\n";
const char* const FIXED_FRAGMENT = "uniform sampler2D tex;\n"
                                   "void main()\n"
                                   "{\n"
                                   "    gl_FragColor = frontColour * texture2D(tex, texCoord0.st);\n"
                                   "}\n";

// What the fixed pipeline would hold, with a version for each part that programs read, so that
// a program is given a part again only when it has changed since that program last drew.
struct FixedState {
    Matrix4 modelview;
    Matrix4 projection;
    float normalMatrix[9] = {1, 0, 0, 0, 1, 0, 0, 0, 1};
    Matrix4 projectionInverse;
    float lampPosition[4] = {0, 0, 1, 0}; // GL's own first values for light 0
    float lampDiffuse[4] = {1, 1, 1, 1};
    unsigned modelviewVersion = 1;
    unsigned projectionVersion = 1;
    unsigned lampVersion = 1;
    bool wireframe = false;
    unsigned selected = 0; // the game's program, 0 for the fixed pipeline
    // The current values, given to GL at the next draw (GL's own first colour is white, WebGL's
    // first input values are 0 0 0 1).
    float colour[4] = {1, 1, 1, 1};
    float normal[3] = {0, 0, 1};
    float texCoord[4] = {0, 0, 0, 1};
    bool currentChanged = true;
};

FixedState state;

// Where a program reads each part, and which version of it the program holds.
struct ProgramInputs {
    GLint modelview = -1, projection = -1, normalMatrix = -1, projectionInverse = -1;
    GLint lampPosition = -1, lampDiffuse = -1;
    unsigned modelviewVersion = 0, projectionVersion = 0, lampVersion = 0;
};

std::unordered_map<GLuint, ProgramInputs> programs;
GLuint current = 0; // the program GL has in use

GLuint fixedProgram()
{
    static GLuint program = 0;
    static bool built = false;
    if (!built) {
        built = true;
        program = buildProgram(FIXED_VERTEX, FIXED_FRAGMENT);
        if (!program)
            std::fprintf(stderr, "glacimor: the browser's stand-in for the fixed pipeline did not build\n");
    }
    return program;
}

ProgramInputs& inputsOf(GLuint program)
{
    auto found = programs.find(program);
    if (found != programs.end())
        return found->second;
    ProgramInputs& in = programs[program];
    in.modelview = glGetUniformLocation(program, "modelviewMatrix");
    in.projection = glGetUniformLocation(program, "projectionMatrix");
    in.normalMatrix = glGetUniformLocation(program, "normalMatrix");
    in.projectionInverse = glGetUniformLocation(program, "projectionInverse");
    in.lampPosition = glGetUniformLocation(program, "lampPosition");
    in.lampDiffuse = glGetUniformLocation(program, "lampDiffuse");
    return in;
}

// Puts the program that draws next in use and gives it what has changed since it last drew.
void prepareProgram()
{
    const GLuint program = state.selected ? state.selected : fixedProgram();
    if (program != current) {
        glUseProgram(program);
        current = program;
    }
    if (state.currentChanged) {
        // Values of the inputs without an array, the same for every program.
        glVertexAttrib4fv(COLOUR, state.colour);
        glVertexAttrib3fv(NORMAL, state.normal);
        glVertexAttrib4fv(TEXCOORD, state.texCoord);
        state.currentChanged = false;
    }
    ProgramInputs& in = inputsOf(program);
    if (in.modelviewVersion != state.modelviewVersion) {
        glUniformMatrix4fv(in.modelview, 1, GL_FALSE, state.modelview.m);
        if (in.normalMatrix >= 0)
            glUniformMatrix3fv(in.normalMatrix, 1, GL_FALSE, state.normalMatrix);
        in.modelviewVersion = state.modelviewVersion;
    }
    if (in.projectionVersion != state.projectionVersion) {
        glUniformMatrix4fv(in.projection, 1, GL_FALSE, state.projection.m);
        if (in.projectionInverse >= 0)
            glUniformMatrix4fv(in.projectionInverse, 1, GL_FALSE, state.projectionInverse.m);
        in.projectionVersion = state.projectionVersion;
    }
    if (in.lampVersion != state.lampVersion) {
        glUniform4fv(in.lampPosition, 1, state.lampPosition);
        glUniform4fv(in.lampDiffuse, 1, state.lampDiffuse);
        in.lampVersion = state.lampVersion;
    }
}

// --- Arrays in buffers ----------------------------------------------------------------------

// A fixed model's arrays, uploaded once.
struct ModelBuffer {
    GLuint buffer = 0;
    std::size_t offsets[INPUTS] = {};
};

std::unordered_map<const float*, ModelBuffer> models;
GLuint streamBuffer = 0;
GLuint lineBuffer = 0;
std::vector<unsigned short> lines; // the wireframe's corners, two a line

const float* arrayOf(const VertexArrays& a, GLuint input)
{
    switch (input) {
    case POSITION:
        return a.position;
    case NORMAL:
        return a.normal;
    case COLOUR:
        return a.colour;
    default:
        return a.texCoord;
    }
}

// Puts the arrays' first `corners` corners in a buffer (the model's own, or the stream) and points
// the vertex inputs at them; inputs without an array keep their current values.
void bindArrays(const VertexArrays& a, int corners)
{
    ModelBuffer stream;
    ModelBuffer* source = &stream;
    bool upload = true;
    if (a.fixedModel) {
        auto found = models.find(a.position);
        upload = found == models.end();
        source = &models[a.position];
    }
    if (!source->buffer) {
        if (!a.fixedModel && !streamBuffer)
            glGenBuffers(1, &streamBuffer);
        if (a.fixedModel)
            glGenBuffers(1, &source->buffer);
        else
            source->buffer = streamBuffer;
    }
    glBindBuffer(GL_ARRAY_BUFFER, source->buffer);
    if (upload) {
        std::size_t bytes = 0;
        for (GLuint i = 0; i < INPUTS; ++i) {
            source->offsets[i] = bytes;
            if (arrayOf(a, i))
                bytes += sizeof(float) * static_cast<std::size_t>(INPUT_SIZES[i]) * static_cast<std::size_t>(corners);
        }
        glBufferData(GL_ARRAY_BUFFER, static_cast<GLsizeiptr>(bytes), nullptr,
                     a.fixedModel ? GL_STATIC_DRAW : GL_STREAM_DRAW);
        for (GLuint i = 0; i < INPUTS; ++i)
            if (const float* array = arrayOf(a, i))
                glBufferSubData(GL_ARRAY_BUFFER, static_cast<GLintptr>(source->offsets[i]),
                                static_cast<GLsizeiptr>(sizeof(float) * static_cast<std::size_t>(INPUT_SIZES[i]) *
                                                        static_cast<std::size_t>(corners)),
                                array);
    }
    for (GLuint i = 0; i < INPUTS; ++i) {
        if (arrayOf(a, i)) {
            glEnableVertexAttribArray(i);
            glVertexAttribPointer(i, INPUT_SIZES[i], GL_FLOAT, GL_FALSE, 0,
                                  reinterpret_cast<const void*>(source->offsets[i]));
        } else {
            glDisableVertexAttribArray(i);
        }
    }
}

// Whether the triangle of corners i, j, k faces the eye (counterclockwise on the screen), from the
// sign of the determinant of their clip coordinates x, y, w: right for triangles that cross the
// eye's plane too, where dividing by w would not be.
bool facesEye(const std::vector<float>& clip, int i, int j, int k)
{
    const float* a = &clip[3 * static_cast<std::size_t>(i)];
    const float* b = &clip[3 * static_cast<std::size_t>(j)];
    const float* c = &clip[3 * static_cast<std::size_t>(k)];
    if (a[2] <= 0 && b[2] <= 0 && c[2] <= 0)
        return false; // wholly behind the eye
    const double det = static_cast<double>(a[0]) * (static_cast<double>(b[1]) * c[2] - static_cast<double>(b[2]) * c[1]) -
                       static_cast<double>(a[1]) * (static_cast<double>(b[0]) * c[2] - static_cast<double>(b[2]) * c[0]) +
                       static_cast<double>(a[2]) * (static_cast<double>(b[0]) * c[1] - static_cast<double>(b[1]) * c[0]);
    return det > 0;
}

// The clip coordinates x, y, w of the arrays' first corners, under the current matrices.
const std::vector<float>& clipCorners(const VertexArrays& a, int corners)
{
    static std::vector<float> clip;
    clip.resize(3 * static_cast<std::size_t>(corners));
    const Matrix4 m = state.projection * state.modelview;
    for (int v = 0; v < corners; ++v) {
        const float* p = a.position + 3 * v;
        for (int out = 0, row = 0; row < 4; ++row) {
            if (row == 2)
                continue; // depth plays no part in facing
            clip[3 * static_cast<std::size_t>(v) + static_cast<std::size_t>(out++)] =
                m.m[row] * p[0] + m.m[4 + row] * p[1] + m.m[8 + row] * p[2] + m.m[12 + row];
        }
    }
    return clip;
}

// Adds the flagged edges of triangle (i, j, k) that faces the eye.
void addEdges(const VertexArrays& a, const std::vector<float>& clip, int i, int j, int k, bool flagged)
{
    if (!facesEye(clip, i, j, k))
        return;
    const int corner[3] = {i, j, k};
    for (int e = 0; e < 3; ++e) {
        if (flagged && !a.edges[corner[e]])
            continue;
        lines.push_back(static_cast<unsigned short>(corner[e]));
        lines.push_back(static_cast<unsigned short>(corner[(e + 1) % 3]));
    }
}

void drawLines()
{
    if (lines.empty())
        return;
    if (!lineBuffer)
        glGenBuffers(1, &lineBuffer);
    glBindBuffer(GL_ELEMENT_ARRAY_BUFFER, lineBuffer);
    glBufferData(GL_ELEMENT_ARRAY_BUFFER, static_cast<GLsizeiptr>(lines.size() * sizeof(unsigned short)),
                 lines.data(), GL_STREAM_DRAW);
    glDrawElements(GL_LINES, static_cast<GLsizei>(lines.size()), GL_UNSIGNED_SHORT, nullptr);
}

// The index lists handed to drawIndexedTriangles, each uploaded once (the snow's never changes).
struct IndexBuffer {
    GLuint buffer = 0;
    int count = 0;
};
std::unordered_map<const unsigned short*, IndexBuffer> indexBuffers;

// Wireframe's corners are counted with 16-bit indices: longer lists are drawn in parts.
constexpr int MAX_WIRE_CORNERS = 65535 / 3 * 3;

} // namespace

void drawTriangles(const VertexArrays& arrays, int count)
{
    if (count <= 0)
        return;
    if (state.wireframe && count > MAX_WIRE_CORNERS) {
        VertexArrays part = arrays;
        part.fixedModel = false;
        for (int first = 0; first < count; first += MAX_WIRE_CORNERS) {
            part.position = arrays.position + 3 * first;
            part.normal = arrays.normal ? arrays.normal + 3 * first : nullptr;
            part.texCoord = arrays.texCoord ? arrays.texCoord + 2 * first : nullptr;
            part.colour = arrays.colour ? arrays.colour + 3 * first : nullptr;
            part.edges = arrays.edges ? arrays.edges + first : nullptr;
            drawTriangles(part, count - first < MAX_WIRE_CORNERS ? count - first : MAX_WIRE_CORNERS);
        }
        return;
    }
    prepareProgram();
    bindArrays(arrays, count);
    if (!state.wireframe) {
        glDrawArrays(GL_TRIANGLES, 0, count);
        return;
    }
    const std::vector<float>& clip = clipCorners(arrays, count);
    lines.clear();
    for (int t = 0; t + 2 < count; t += 3)
        addEdges(arrays, clip, t, t + 1, t + 2, arrays.edges != nullptr);
    drawLines();
}

void drawIndexedTriangles(const VertexArrays& arrays, int corners, const unsigned short* indices, int indexCount)
{
    if (indexCount <= 0)
        return;
    prepareProgram();
    bindArrays(arrays, corners);
    if (state.wireframe) {
        const std::vector<float>& clip = clipCorners(arrays, corners);
        lines.clear();
        for (int t = 0; t + 2 < indexCount; t += 3)
            addEdges(arrays, clip, indices[t], indices[t + 1], indices[t + 2], false);
        drawLines();
        return;
    }
    IndexBuffer& list = indexBuffers[indices];
    if (!list.buffer)
        glGenBuffers(1, &list.buffer);
    glBindBuffer(GL_ELEMENT_ARRAY_BUFFER, list.buffer);
    if (list.count < indexCount) {
        glBufferData(GL_ELEMENT_ARRAY_BUFFER, static_cast<GLsizeiptr>(indexCount * sizeof(unsigned short)), indices,
                     GL_STATIC_DRAW);
        list.count = indexCount;
    }
    glDrawElements(GL_TRIANGLES, indexCount, GL_UNSIGNED_SHORT, nullptr);
}

void setColour(float r, float g, float b)
{
    state.colour[0] = r;
    state.colour[1] = g;
    state.colour[2] = b;
    state.currentChanged = true;
}

void setNormal(float x, float y, float z)
{
    state.normal[0] = x;
    state.normal[1] = y;
    state.normal[2] = z;
    state.currentChanged = true;
}

void setTexCoord(float s, float t)
{
    state.texCoord[0] = s;
    state.texCoord[1] = t;
    state.currentChanged = true;
}

void loadModelview(const Matrix4& m)
{
    state.modelview = m;
    normalMatrixOf(m, state.normalMatrix);
    ++state.modelviewVersion;
}

void loadProjection(const Matrix4& m)
{
    state.projection = m;
    if (!inverted(m, state.projectionInverse))
        state.projectionInverse = Matrix4();
    ++state.projectionVersion;
}

void enableLight(unsigned) {}

void disableLight(unsigned) {}

void setLight(unsigned id, const float*, const float diffuse[4], const float*, const float position[4])
{
    if (id != GL_LIGHT0)
        return; // the programs read light 0 only
    // GL keeps a light's place as the modelview of the moment takes it.
    const float* m = state.modelview.m;
    for (int row = 0; row < 4; ++row)
        state.lampPosition[row] =
            m[row] * position[0] + m[4 + row] * position[1] + m[8 + row] * position[2] + m[12 + row] * position[3];
    for (int i = 0; i < 4; ++i)
        state.lampDiffuse[i] = diffuse[i];
    ++state.lampVersion;
}

void setMaterial(const float*, const float*, const float*) {}

void setWireframe(bool on) { state.wireframe = on; }

// Texturing is always on in the stand-in, and normalising and colour material have no use there.
void enableFixedPipeline() {}

void unpackRowsAlignedTo(int alignment) { glPixelStorei(GL_UNPACK_ALIGNMENT, alignment); }

void modulateTexture() {}

void useProgram(unsigned int program) { state.selected = program; }

const char* shaderPrelude(bool vertexStage)
{
    static const char* const vertex = "#version 100\n"
                                      "precision highp float;\n"
                                      "attribute vec4 vertexPosition;\n"
                                      "attribute vec3 vertexNormal;\n"
                                      "attribute vec4 vertexColour;\n"
                                      "attribute vec4 vertexTexCoord;\n"
                                      "uniform mat4 modelviewMatrix;\n"
                                      "uniform mat4 projectionMatrix;\n"
                                      "uniform mat3 normalMatrix;\n"
                                      "uniform mat4 projectionInverse;\n"
                                      "uniform vec4 lampPosition;\n"
                                      "uniform vec4 lampDiffuse;\n"
                                      "varying vec4 frontColour;\n"
                                      "varying vec4 texCoord0;\n"
                                      "vec4 clipPosition() { return projectionMatrix * (modelviewMatrix * vertexPosition); }\n"
                                      "#line 1\n";
    // A uniform both stages read must have one precision in both: high, which every browser that
    // draws WebGL offers in fragments too.
    static const char* const fragment = "#version 100\n"
                                        "#ifdef GL_FRAGMENT_PRECISION_HIGH\n"
                                        "precision highp float;\n"
                                        "#else\n"
                                        "precision mediump float;\n"
                                        "#endif\n"
                                        "uniform vec4 lampPosition;\n"
                                        "uniform vec4 lampDiffuse;\n"
                                        "varying vec4 frontColour;\n"
                                        "varying vec4 texCoord0;\n"
                                        "#line 1\n";
    return vertexStage ? vertex : fragment;
}

void bindVertexInputs(unsigned int program)
{
    for (GLuint i = 0; i < INPUTS; ++i)
        glBindAttribLocation(program, i, INPUT_NAMES[i]);
}
