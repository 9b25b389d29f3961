// SPDX-FileCopyrightText: 2026 The Glacimor developers
// SPDX-License-Identifier: GPL-3.0-or-later

// The steps of one frame, in the order the game has always run them: the two tables here are
// the one list of them.
#include "game/frame.h"

#include "actors/effect.h"
#include "actors/enemy.h"
#include "actors/player.h"
#include "core/clock.h"
#include "core/input.h"
#include "core/settings.h"
#include "game/sound.h"
#include "render/geometry.h"
#include "render/scene.h"
#include "ui/gui.h"
#include "ui/labels.h"
#include "world/camera.h"
#include "world/game_object.h"
#include "world/light.h"
#include "world/particles.h"

#include <iterator>

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

void updatePlayer() { player.update(); }

void updateHud() { gui.update(); }

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

void drawLights()
{
    for (Light* light : lightList)
        light->render();
}

void drawEnemies()
{
    for (Enemy* enemy : enemyList)
        enemy->GameObject::render();
}

void drawObstacles()
{
    for (Obstacle* obstacle : obstacleList)
        obstacle->render();
}

void drawPlayer() { player.GameObject::render(); }

void drawSkybox() { GM_GL_skybox(); }

void drawSnow() { blizzard.render(); }

void beginOverlay() { beginOverlayState(); }

const UpdateStep UPDATE_STEPS[] = {
    {GLACIMOR_STEP(refreshFpsLine)},
    {GLACIMOR_STEP(runSpawnTimer)},
    {GLACIMOR_STEP(updateEffects)},
    {GLACIMOR_STEP(collectExpiredEffects)},
    {GLACIMOR_STEP(updateEnemies)},
    {GLACIMOR_STEP(updatePlayer)},
    {GLACIMOR_STEP(showHitPoints)},
    {GLACIMOR_STEP(updateHud)},
    {GLACIMOR_STEP(capEnemies)},
    {GLACIMOR_STEP(moveLight)},
    {GLACIMOR_STEP(placeCamera)},
    {GLACIMOR_STEP(advanceSnow)},
    {GLACIMOR_STEP(listenToWorld)},
};

// The opaque world is drawn without blending, then the snow and the overlay blend as set.
const RenderStep RENDER_STEPS[] = {
    {GLACIMOR_STEP(beginScene), true},
    {GLACIMOR_STEP(drawLights), false},
    {GLACIMOR_STEP(drawEnemies), false},
    {GLACIMOR_STEP(drawObstacles), false},
    {GLACIMOR_STEP(drawPlayer), false},
    {GLACIMOR_STEP(drawSkybox), true},
    {GLACIMOR_STEP(beginBlending), true},
    {GLACIMOR_STEP(drawSnow), false},
    {GLACIMOR_STEP(beginOverlay), true},
    {GLACIMOR_STEP(drawEffectLabels), false},
    {GLACIMOR_STEP(drawHud), true},
};

} // namespace

Steps<UpdateStep> updateSteps() { return {UPDATE_STEPS, std::size(UPDATE_STEPS)}; }

Steps<RenderStep> renderSteps() { return {RENDER_STEPS, std::size(RENDER_STEPS)}; }

void beginFrame()
{
    fps.addFrame();
    advanceClock();
}

void updateFrame()
{
    for (const UpdateStep& step : UPDATE_STEPS)
        step.run();
}

void renderFrame(double aspect)
{
    for (const RenderStep& step : RENDER_STEPS)
        step.run(aspect);
}

void showHitPoints() { gui.setText2(player.getHP().c_str(), 1.0, 1.0, 1.0); }

void advanceSnow() { blizzard.update(); }

void placeCamera()
{
    camera.place(player.getCamPos());
    camera.aim(player);
}

void beginScene(double aspect)
{
    beginSceneState(aspect);
    camera.applyLookAt();
    beginModelview();
}

void beginBlending() { setBlendingFromSettings(); }

void drawHud()
{
    gui.render();
    selectSceneProgram();
}
