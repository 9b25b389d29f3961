// SPDX-FileCopyrightText: 2026 The Glacimor developers
// SPDX-License-Identifier: GPL-3.0-or-later

// Enemy behaviour, spawning at the plateau's edge, the spawn timer and the cap.
#include "actors/enemy.h"

#include "actors/effect.h"
#include "actors/player.h"
#include "core/clock.h"
#include "core/random.h"
#include "core/settings.h"

Enemy::Enemy(double x, double y, double z) : Mob(x, y, z) { enemyList.push_back(this); }

void Enemy::update()
{
    if (hp < 0) {
        hp = 0;
        state = STATE_DEAD;
    }
    if (state != STATE_ACTIVE)
        return;

    lookAt(player);

    const double d = distance(player);
    if (d >= range - 4 && d <= sight)
        move(dir.x * speed * frameNormalizer, dir.y * speed * frameNormalizer, dir.z * speed * frameNormalizer);

    // Damage is continuous while in reach: one hit point per 100 ms.
    if (distance(player) <= range && !set_god)
        player.hp -= frameNormalizer;
    if (player.hp < 0)
        player.hp = 0;
}

vec3 spawnPoint(double r, double t)
{
    if (r < 0.25)
        return vec3(PLATEAU_HALF, 0, t);
    if (r < 0.5)
        return vec3(-PLATEAU_HALF, 0, t);
    if (r < 0.75)
        return vec3(t, 0, PLATEAU_HALF);
    return vec3(t, 0, -PLATEAU_HALF);
}

void spawnEnemy()
{
    // The edge is drawn first, then the place along it.
    const double r = rand_double();
    const double t = rand_double() * 198 - 99;
    const vec3 at = spawnPoint(r, t);
    new Enemy(at.x, at.y, at.z);
}

void runSpawnTimer()
{
    const Ticks interval = static_cast<Ticks>(set_spawntime);
    // The spawn clock advances by whole intervals, so a late frame loses no spawn:
    // the backlog is worked off one enemy per frame.
    if (game_time - game_timeN >= interval) {
        game_timeN += interval;
        set_spawntime *= set_spawnscale;
        spawnEnemy();
    }
}

void capEnemies()
{
    if (enemyList.size() <= ENEMY_CAP)
        return;
    const std::size_t excess = enemyList.size() - ENEMY_CAP;
    for (std::size_t i = 0; i < excess; ++i) {
        dropEffectsOf(*enemyList[i]);
        delete enemyList[i];
    }
    enemyList.erase(enemyList.begin(), enemyList.begin() + static_cast<std::ptrdiff_t>(excess));
}
