// SPDX-FileCopyrightText: 2026 The Glacimor developers
// SPDX-License-Identifier: GPL-3.0-or-later

// The scene's projection as the frame hands it to GL, against the same projection by arithmetic
// (projectToScreen), which tells the end-to-end tests where each figure stands on the screen.
#include "gl_context.h"

#include "game/frame.h"
#include "render/matrix.h"
#include "render/scene.h"
#include "world/camera.h"

#include <gtest/gtest.h>

namespace {

struct View {
    vec3 eye, target;
    int width, height;
};

} // namespace

TEST(SceneProjection, ArithmeticLandsEveryPointWhereGLDrawsIt)
{
    const Camera saved = camera;
    const View views[] = {
        {vec3(20, 36, 180), vec3(20, 0, 0), 800, 600},       // the camera behind the player at the start
        {vec3(-62.3, 17.4, 62.0), vec3(11.4, 0, -8.5), 1280, 720}, // wheeled in, turned, full HD's shape
    };
    const vec3 points[] = {vec3(20, 0, 0), vec3(25, 2, -10), vec3(-40, 0, 30), vec3(11.4, 1, -8.5),
                           vec3(90, 0, -90), vec3(0, 20, 0)};
    for (const View& view : views) {
        camera.pos = view.eye;
        camera.target = view.target;
        beginScene(static_cast<double>(view.width) / view.height);
        GLdouble model[16], projection[16];
        glGetDoublev(GL_MODELVIEW_MATRIX, model);
        glGetDoublev(GL_PROJECTION_MATRIX, projection);
        const GLint viewport[4] = {0, 0, view.width, view.height};
        // GL keeps its matrices in single precision: a hundredth of a pixel is the agreement to ask.
        for (const vec3& p : points) {
            GLdouble x, y, z;
            ASSERT_TRUE(gluProject(p.x, p.y, p.z, model, projection, viewport, &x, &y, &z));
            const ScreenPoint s = projectToScreen(camera.pos, camera.target, camera.up, p, view.width, view.height);
            if (z < 0 || z > 1) {
                EXPECT_EQ(s.unit, 0) << "a point outside the depth range is off the screen";
                continue;
            }
            EXPECT_NEAR(s.x, x, 0.01) << p.x << ' ' << p.y << ' ' << p.z;
            EXPECT_NEAR(s.y, view.height - y, 0.01) << "rows counted from the top";
            // One world unit to the camera's right, at the same depth, lies `unit` pixels across.
            vec3 right = vec3(view.target.x - view.eye.x, view.target.y - view.eye.y, view.target.z - view.eye.z)
                             .normal(camera.up);
            right.normalize();
            GLdouble rx, ry, rz;
            gluProject(p.x + right.x, p.y + right.y, p.z + right.z, model, projection, viewport, &rx, &ry, &rz);
            EXPECT_NEAR(s.unit, rx - x, 0.01);
        }
    }
    camera = saved;
    EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
}

namespace {

// The matrix GL holds after the given calls on an identity modelview.
template <typename Calls>
Matrix4 madeByGL(Calls calls)
{
    glMatrixMode(GL_MODELVIEW);
    glPushMatrix();
    glLoadIdentity();
    calls();
    Matrix4 m;
    glGetFloatv(GL_MODELVIEW_MATRIX, m.m);
    glPopMatrix();
    return m;
}

void expectSameFloats(const Matrix4& ours, const Matrix4& gl, const char* what)
{
    for (int i = 0; i < 16; ++i)
        EXPECT_EQ(ours.m[i], gl.m[i]) << what << ", element " << i;
}

} // namespace

TEST(SceneMatrices, MadeOnTheCpuToTheFloatAsGLsOwnCallsMadeThem)
{
    // The same floats, not nearly: a corner a rounding away from where it was could move a pixel
    // of a golden frame. The frustum of an 800 x 600 screen, times the view of the start's camera
    // and of a turned one; a figure moved, turned and tilted; the skybox's chain of turns.
    const float halfWidth = static_cast<float>(800.0 / 600 * VIEW_HALF_HEIGHT);
    const Matrix4 frustum = frustumMatrix(-halfWidth, halfWidth, -0.5f, 0.5f, 3, 20000);
    const View views[] = {{vec3(20, 36, 180), vec3(20, 0, 0), 0, 0}, {vec3(-62.3, 17.4, 62.0), vec3(11.4, 0, -8.5), 0, 0}};
    for (const View& view : views)
        expectSameFloats(lookedAt(frustum, view.eye, view.target, vec3(0, 1, 0)), madeByGL([&] {
                             glFrustum(-800.0 / 600 * VIEW_HALF_HEIGHT, 800.0 / 600 * VIEW_HALF_HEIGHT, -0.5, 0.5, 3,
                                       20000);
                             gluLookAt(view.eye.x, view.eye.y, view.eye.z, view.target.x, view.target.y,
                                       view.target.z, 0, 1, 0);
                         }),
                         "frustum times view");
    expectSameFloats(rotatedX(rotatedY(translated(Matrix4(), 12.5f, 1, -33.3f), -217.4f), 12.9f), madeByGL([] {
                         glTranslatef(12.5f, 1, -33.3f);
                         glRotatef(-217.4f, 0, 1, 0);
                         glRotatef(12.9f, 1, 0, 0);
                     }),
                     "a figure's placement");
    expectSameFloats(rotatedX(rotatedX(rotatedY(rotatedY(translated(Matrix4(), 0, 99, 0), -90), -90), -90), 180),
                     madeByGL([] {
                         glTranslatef(0, 99, 0);
                         glRotatef(-90, 0, 1, 0);
                         glRotatef(-90, 0, 1, 0);
                         glRotatef(-90, 1, 0, 0);
                         glRotatef(180, 1, 0, 0);
                     }),
                     "the skybox's turns");
    EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
}
