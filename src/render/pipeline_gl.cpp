// SPDX-FileCopyrightText: 2026 The Glacimor developers
// SPDX-License-Identifier: GPL-3.0-or-later

// Desktop GL 2.1: the fixed pipeline's own state and client arrays, and the shader files read with
// GLSL 1.20's built-in names.
#include "render/pipeline.h"

#include "render/gl.h"

#include <cstddef>
#include <cstring>
#include <unordered_map>
#include <vector>

namespace {

// A fixed model's arrays copied once into a buffer of the driver's (GL 1.5), so that the thousand
// cubes of a crowded frame are not sent to it again one by one. Each array's place in the buffer.
struct ModelBuffer {
    GLuint buffer = 0;
    std::size_t position = 0, normal = 0, texCoord = 0, colour = 0, edges = 0;
};

std::unordered_map<const float*, ModelBuffer> models;

// The model's buffer, bound, made on its first draw; null where the driver has no buffers (GL 1.x),
// which then draws from the arrays where they are.
const ModelBuffer* bindModel(const VertexArrays& a, int count)
{
    if (!glGenBuffers || !glBindBuffer || !glBufferData)
        return nullptr;
    auto found = models.find(a.position);
    if (found != models.end()) {
        glBindBuffer(GL_ARRAY_BUFFER, found->second.buffer);
        return &found->second;
    }
    ModelBuffer& model = models[a.position];
    const std::size_t corners = static_cast<std::size_t>(count);
    std::vector<unsigned char> bytes;
    const auto add = [&bytes](const void* data, std::size_t size) {
        const std::size_t at = bytes.size();
        if (data) {
            bytes.resize(at + size);
            std::memcpy(bytes.data() + at, data, size);
        }
        return at;
    };
    model.position = add(a.position, corners * 3 * sizeof(float));
    model.normal = add(a.normal, corners * 3 * sizeof(float));
    model.texCoord = add(a.texCoord, corners * 2 * sizeof(float));
    model.colour = add(a.colour, corners * 3 * sizeof(float));
    model.edges = add(a.edges, corners);
    glGenBuffers(1, &model.buffer);
    glBindBuffer(GL_ARRAY_BUFFER, model.buffer);
    glBufferData(GL_ARRAY_BUFFER, static_cast<GLsizeiptr>(bytes.size()), bytes.data(), GL_STATIC_DRAW);
    return &model;
}

void enableArrays(const VertexArrays& a, int count)
{
    const ModelBuffer* model = a.fixedModel ? bindModel(a, count) : nullptr;
    // Where an array is for the driver: its offset in the bound model buffer, or its own address.
    const auto at = [model](std::size_t ModelBuffer::*offset, const void* array) {
        return model ? reinterpret_cast<const void*>(model->*offset) : array;
    };
    glEnableClientState(GL_VERTEX_ARRAY);
    glVertexPointer(3, GL_FLOAT, 0, at(&ModelBuffer::position, a.position));
    if (a.normal) {
        glEnableClientState(GL_NORMAL_ARRAY);
        glNormalPointer(GL_FLOAT, 0, at(&ModelBuffer::normal, a.normal));
    }
    if (a.texCoord) {
        glEnableClientState(GL_TEXTURE_COORD_ARRAY);
        glTexCoordPointer(2, GL_FLOAT, 0, at(&ModelBuffer::texCoord, a.texCoord));
    }
    if (a.colour) {
        glEnableClientState(GL_COLOR_ARRAY);
        glColorPointer(3, GL_FLOAT, 0, at(&ModelBuffer::colour, a.colour));
    }
    if (a.edges) {
        glEnableClientState(GL_EDGE_FLAG_ARRAY);
        glEdgeFlagPointer(0, at(&ModelBuffer::edges, a.edges));
    }
    if (model)
        glBindBuffer(GL_ARRAY_BUFFER, 0); // the pointers keep the buffer they were given
}

void disableArrays(const VertexArrays& a)
{
    glDisableClientState(GL_EDGE_FLAG_ARRAY);
    glDisableClientState(GL_COLOR_ARRAY);
    glDisableClientState(GL_TEXTURE_COORD_ARRAY);
    glDisableClientState(GL_NORMAL_ARRAY);
    glDisableClientState(GL_VERTEX_ARRAY);
    if (a.edges)
        glEdgeFlag(GL_TRUE); // an array leaves the current flag undefined; every other draw wants it on
}

} // namespace

void drawTriangles(const VertexArrays& arrays, int count)
{
    enableArrays(arrays, count);
    glDrawArrays(GL_TRIANGLES, 0, count);
    disableArrays(arrays);
}

void drawIndexedTriangles(const VertexArrays& arrays, int corners, const unsigned short* indices, int indexCount)
{
    enableArrays(arrays, corners);
    glDrawElements(GL_TRIANGLES, indexCount, GL_UNSIGNED_SHORT, indices);
    disableArrays(arrays);
}

void setColour(float r, float g, float b) { glColor3f(r, g, b); }

void setNormal(float x, float y, float z) { glNormal3f(x, y, z); }

void setTexCoord(float s, float t) { glTexCoord2f(s, t); }

void loadModelview(const Matrix4& m)
{
    glMatrixMode(GL_MODELVIEW);
    glLoadMatrixf(m.m);
}

void loadProjection(const Matrix4& m)
{
    glMatrixMode(GL_PROJECTION);
    glLoadMatrixf(m.m);
    glMatrixMode(GL_MODELVIEW);
}

void enableLight(unsigned id) { glEnable(id); }

void disableLight(unsigned id) { glDisable(id); }

void setLight(unsigned id, const float ambient[4], const float diffuse[4], const float specular[4],
              const float position[4])
{
    glLightfv(id, GL_AMBIENT, ambient);
    glLightfv(id, GL_DIFFUSE, diffuse);
    glLightfv(id, GL_SPECULAR, specular);
    glLightfv(id, GL_POSITION, position);
}

void setMaterial(const float ambient[4], const float diffuse[4], const float specular[4])
{
    glMaterialfv(GL_FRONT, GL_AMBIENT, ambient);
    glMaterialfv(GL_FRONT, GL_DIFFUSE, diffuse);
    glMaterialfv(GL_FRONT, GL_SPECULAR, specular);
}

void setWireframe(bool on) { glPolygonMode(GL_FRONT_AND_BACK, on ? GL_LINE : GL_FILL); }

void enableFixedPipeline()
{
    glEnable(GL_TEXTURE_2D);
    glEnable(GL_NORMALIZE);
    glEnable(GL_COLOR_MATERIAL);
}

void unpackRowsAlignedTo(int alignment)
{
    glPixelStorei(GL_UNPACK_ALIGNMENT, alignment);
    glPixelStorei(GL_UNPACK_ROW_LENGTH, 0);
    glPixelStorei(GL_UNPACK_SKIP_PIXELS, 0);
    glPixelStorei(GL_UNPACK_SKIP_ROWS, 0);
}

void modulateTexture() { glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_MODULATE); }

void useProgram(unsigned int program)
{
    if (glUseProgram)
        glUseProgram(program);
}

const char* shaderPrelude(bool vertexStage)
{
    // The shaders' names are GLSL 1.20's own built-ins here: what the fixed pipeline holds.
    static const char* const vertex = "#version 120\n"
                                      "#define vertexPosition gl_Vertex\n"
                                      "#define vertexNormal gl_Normal\n"
                                      "#define vertexColour gl_Color\n"
                                      "#define vertexTexCoord gl_MultiTexCoord0\n"
                                      "#define modelviewMatrix gl_ModelViewMatrix\n"
                                      "#define normalMatrix gl_NormalMatrix\n"
                                      "#define projectionInverse gl_ProjectionMatrixInverse\n"
                                      "#define clipPosition() ftransform()\n"
                                      "#define frontColour gl_FrontColor\n"
                                      "#define texCoord0 gl_TexCoord[0]\n"
                                      "#define lampPosition gl_LightSource[0].position\n"
                                      "#define lampDiffuse gl_LightSource[0].diffuse\n"
                                      "#line 1\n";
    static const char* const fragment = "#version 120\n"
                                        "#define frontColour gl_Color\n"
                                        "#define texCoord0 gl_TexCoord[0]\n"
                                        "#define lampPosition gl_LightSource[0].position\n"
                                        "#define lampDiffuse gl_LightSource[0].diffuse\n"
                                        "#line 1\n";
    return vertexStage ? vertex : fragment;
}

void bindVertexInputs(unsigned int) {}
