// SPDX-FileCopyrightText: 2026 The Glacimor developers
// SPDX-License-Identifier: GPL-3.0-or-later

// The player's frame: plateau bound, walking, turning, the camera it carries, and death. Its hit
// points reach the HUD through the frame's showHitPoints (game/frame.cpp).
#include "actors/player.h"

#include "actors/effect.h"
#include "actors/endgame.h"
#include "actors/enemy.h"
#include "core/clock.h"
#include "core/input.h"

#include <limits>

Player::Player(double x, double y, double z) : Mob(x, y, z) { speed = 1.5; }

namespace {

double clampToPlateau(double v)
{
    if (v > PLATEAU_HALF)
        return PLATEAU_HALF;
    if (v < -PLATEAU_HALF)
        return -PLATEAU_HALF;
    return v;
}

} // namespace

void Player::update()
{
    if (hp <= 0)
        state = STATE_DEAD;

    // The bound comes before this frame's step, so the player may stand one step beyond
    // the edge until the next frame puts it back.
    pos.x = clampToPlateau(pos.x);
    pos.z = clampToPlateau(pos.z);

    if (state == STATE_ACTIVE) {
        const double s = speed * frameNormalizer;
        if (input.keyW)
            move(dir.x * s, 0, dir.z * s);
        if (input.keyS)
            move(-dir.x * s, 0, -dir.z * s);
        if (input.keyA)
            move(dir.z * s, 0, -dir.x * s);
        if (input.keyD)
            move(-dir.z * s, 0, dir.x * s);

        // Mouse turns are per pixel, not per frame time.
        rotate(-input.mouseX * input.mouseSensitivity);
        input.mouseX = 0;
        camHeight += input.mouseY / 600.0 * input.mouseSensitivity;
        input.mouseY = 0;
    }

    if (hp <= 0)
        recordEnd();
}

vec3 Player::getCamPos() const
{
    return vec3(pos.x - camDist * dir.x, pos.y + camDist * camHeight, pos.z - camDist * dir.z);
}

void Player::zoomCamera(bool nearer)
{
    const double next = nearer ? camDist / 1.2 : camDist * 1.2;
    if (next >= std::numeric_limits<double>::min() && next <= std::numeric_limits<double>::max())
        camDist = next;
}

namespace {

// Puts one new effect, made by makeEffect, on every enemy within radius of the player.
template <typename MakeEffect>
void burst(const Player& self, double radius, MakeEffect makeEffect)
{
    if (self.state != STATE_ACTIVE)
        return;
    // Index loop: the effects file themselves in effectList, not in enemyList, but keep it plain.
    for (std::size_t i = 0; i < enemyList.size(); ++i) {
        Enemy* enemy = enemyList[i];
        if (self.distance(*enemy) <= radius)
            makeEffect(*enemy);
    }
}

} // namespace

void Player::style1()
{
    burst(*this, range + 5, [](Enemy& enemy) { new Stun(player, enemy, 5000); });
}

void Player::style2()
{
    burst(*this, range, [](Enemy& enemy) { new Hit(player, enemy, 25); });
}

void Player::style3() {}

void Player::style4() {}
