// The cube model and the skybox, drawn from one quad turned between copies.
#include "render/geometry.h"

#include "render/gl.h"
#include "render/textures.h"

namespace {

// The four corners of the side at z = +1, counterclockwise seen from outside. Each normal
// points from the centre through its corner, so light varies smoothly across a side.
const double FACE[4][3] = {{1, 1, 1}, {-1, 1, 1}, {-1, -1, 1}, {1, -1, 1}};
const double FACE_TEX[4][2] = {{1, 0}, {0, 0}, {0, 1}, {1, 1}};

void faceQuad(bool textured)
{
    glBegin(GL_QUADS);
    for (int i = 0; i < 4; ++i) {
        glNormal3dv(FACE[i]);
        if (textured)
            glTexCoord2dv(FACE_TEX[i]);
        glVertex3dv(FACE[i]);
    }
    glEnd();
}

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

} // namespace

void GM_GL_cube_face(double r, double g, double b)
{
    glColor3d(r, g, b);
    faceQuad(true);
}

void GM_GL_cube()
{
    GM_GL_cube_face(0, 1, 0); // back, green
    glRotated(-90, 0, 1, 0);
    GM_GL_cube_face(1, 1, 1); // left, white
    glRotated(-90, 0, 1, 0);
    GM_GL_cube_face(1, 0, 0); // front, red: the look direction
    glRotated(-90, 0, 1, 0);
    GM_GL_cube_face(0, 0, 1); // right, blue
    // Bottom and top carry no texture coordinates: they show the texel at (1, 1), tinted grey.
    glRotated(90, 1, 0, 0);
    glColor3d(0.8, 0.8, 0.8);
    faceQuad(false);
    glRotated(180, 1, 0, 0);
    glColor3d(0.8, 0.8, 0.8);
    faceQuad(false);
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
