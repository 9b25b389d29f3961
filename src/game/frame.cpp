// The steps of one frame, in the order the game has always run them.
#include "game/frame.h"

#include "actors/effect.h"
#include "actors/enemy.h"
#include "actors/player.h"
#include "core/clock.h"
#include "core/input.h"
#include "core/settings.h"
#include "render/geometry.h"
#include "render/gl.h"
#include "render/shader.h"
#include "render/textures.h"
#include "ui/gui.h"
#include "world/camera.h"
#include "world/game_object.h"
#include "world/light.h"
#include "world/particles.h"

namespace {

// Refreshes the FPS line once per 500 ms period; after a stall, once per frame until caught up.
void refreshFpsLine()
{
    if (game_time - game_time500 >= 500) {
        game_time500 += 500;
        gui.setText1(set_fpscounter ? fps.getFPS().c_str() : " ", 1.0, 1.0, 0.0);
    }
}

// Index loops re-read the size: an update may add to the lists.
void updateEffects()
{
    for (std::size_t i = 0; i < effectList.size(); ++i)
        effectList[i]->update();
}

void updateEnemies()
{
    for (std::size_t i = 0; i < enemyList.size(); ++i)
        enemyList[i]->update();
}

// The light hangs above the player; Up and Down raise and lower it.
void moveLight()
{
    if (input.keyUp)
        light0.lightPos[1] += static_cast<float>(2.0 * frameNormalizer);
    if (input.keyDown)
        light0.lightPos[1] -= static_cast<float>(2.0 * frameNormalizer);
    light0.lightPos[0] = static_cast<float>(player.pos.x);
    light0.lightPos[2] = static_cast<float>(player.pos.z);
}

void placeCamera()
{
    camera.place(player.getCamPos());
    camera.aim(player);
}

} // namespace

void beginFrame()
{
    fps.addFrame();
    advanceClock();
}

void updateFrame()
{
    refreshFpsLine();
    runSpawnTimer();
    updateEffects();
    collectExpiredEffects();
    updateEnemies();
    player.update();
    showHitPoints();
    gui.update();
    capEnemies();
    moveLight();
    placeCamera();
    advanceSnow();
}

void showHitPoints() { gui.setText2(player.getHP().c_str(), 1.0, 1.0, 1.0); }

void advanceSnow() { blizzard.update(); }

void beginScene(double aspect)
{
    setTexMode();
    glPolygonMode(GL_FRONT_AND_BACK, set_wireframe ? GL_LINE : GL_FILL);
    // The cubes and the skybox are opaque: their colours and textures carry alpha 1 everywhere,
    // so blending them would only read back every pixel to keep it as drawn.
    glDisable(GL_BLEND);
    useProgram(set_shading ? gm_shader : 0);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);

    // The view lives on the projection matrix; the modelview carries only each object's placement.
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glFrustum(-aspect / 2, aspect / 2, -0.5, 0.5, 3.0, 20000.0);
    camera.applyLookAt();
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
}

void beginBlending()
{
    if (set_alpha)
        glEnable(GL_BLEND);
    else
        glDisable(GL_BLEND);
}

void beginOverlay()
{
    useProgram(0);
    glLoadIdentity();
}

void drawHud()
{
    gui.render();
    // The next frame chooses its program again before it draws anything.
    useProgram(gm_shader);
}

void renderFrame(double aspect)
{
    beginScene(aspect);
    for (Light* light : lightList)
        light->render();
    for (Enemy* enemy : enemyList)
        enemy->GameObject::render();
    for (Obstacle* obstacle : obstacleList)
        obstacle->render();
    player.GameObject::render();
    GM_GL_skybox();
    beginBlending();
    blizzard.render();
    beginOverlay();
    drawEffectLabels();
    drawHud();
}
