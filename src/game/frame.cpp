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

const UpdateStep UPDATE_STEPS[] = {
    {"refreshFpsLine", refreshFpsLine},
    {"runSpawnTimer", runSpawnTimer},
    {"updateEffects", updateEffects},
    {"collectExpiredEffects", collectExpiredEffects},
    {"updateEnemies", updateEnemies},
    {"updatePlayer", updatePlayer},
    {"showHitPoints", showHitPoints},
    {"updateHud", updateHud},
    {"capEnemies", capEnemies},
    {"moveLight", moveLight},
    {"placeCamera", placeCamera},
    {"advanceSnow", advanceSnow},
    {"listenToWorld", listenToWorld},
};

// The opaque world is drawn without blending, then the snow and the overlay blend as set.
const RenderStep RENDER_STEPS[] = {
    {"beginScene", beginScene, true},
    {"drawLights", [](double) { drawLights(); }, false},
    {"drawEnemies", [](double) { drawEnemies(); }, false},
    {"drawObstacles", [](double) { drawObstacles(); }, false},
    {"drawPlayer", [](double) { player.GameObject::render(); }, false},
    {"drawSkybox", [](double) { GM_GL_skybox(); }, true},
    {"beginBlending", [](double) { beginBlending(); }, true},
    {"drawSnow", [](double) { blizzard.render(); }, false},
    {"beginOverlay", [](double) { beginOverlayState(); }, true},
    {"drawEffectLabels", [](double) { drawEffectLabels(); }, false},
    {"drawHud", [](double) { drawHud(); }, true},
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
