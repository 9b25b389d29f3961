// SPDX-FileCopyrightText: 2026 The Glacimor developers
// SPDX-License-Identifier: GPL-3.0-or-later

// Desktop GL 2.1: the fixed pipeline's own state and client arrays, and the shader files read with
// GLSL 1.20's built-in names.
#include "render/pipeline.h"

#include "render/gl.h"

namespace {

void enableArrays(const VertexArrays& a)
{
    glEnableClientState(GL_VERTEX_ARRAY);
    glVertexPointer(3, GL_FLOAT, 0, a.position);
    if (a.normal) {
        glEnableClientState(GL_NORMAL_ARRAY);
        glNormalPointer(GL_FLOAT, 0, a.normal);
    }
    if (a.texCoord) {
        glEnableClientState(GL_TEXTURE_COORD_ARRAY);
        glTexCoordPointer(2, GL_FLOAT, 0, a.texCoord);
    }
    if (a.colour) {
        glEnableClientState(GL_COLOR_ARRAY);
        glColorPointer(3, GL_FLOAT, 0, a.colour);
    }
    if (a.edges) {
        glEnableClientState(GL_EDGE_FLAG_ARRAY);
        glEdgeFlagPointer(0, a.edges);
    }
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
    enableArrays(arrays);
    glDrawArrays(GL_TRIANGLES, 0, count);
    disableArrays(arrays);
}

void drawIndexedTriangles(const VertexArrays& arrays, int, const unsigned short* indices, int indexCount)
{
    enableArrays(arrays);
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
