// SPDX-FileCopyrightText: 2026 The Glacimor developers
// SPDX-License-Identifier: GPL-3.0-or-later

// What the world sounds like, found by comparing it with what it was after the last frame.
#include "game/sound.h"

#include "actors/enemy.h"
#include "actors/player.h"
#include "core/clock.h"
#include "core/input.h"
#include "core/settings.h"
#include "world/camera.h"

#include <cmath>
#include <utility>
#include <vector>

namespace {

SoundOut* output = nullptr;

// The world as the last listen left it.
struct Heard {
    bool known = false;
    const Enemy* newest = nullptr;
    std::vector<std::pair<const Enemy*, int>> enemies; // each enemy and its state; never followed
    vec3 playerAt{0, 0, 0};
    double walked = 0; // since the last footstep
    bool leftFoot = false;
    double hp = 0;
    Ticks lastHeartbeat = 0;
    bool heartbeatYet = false;
    Ticks lastComing = 0;
    bool comingYet = false;
    bool ended = false;
};

Heard heard;

void send(const SoundCue& cue)
{
    if (output)
        output->play(cue);
}

// A place in the world as the listener hears it: from the player, turned as the camera looks.
SoundCue placed(Sound sound, vec3 at, int count = 1)
{
    SoundCue cue;
    cue.sound = sound;
    cue.count = count;
    const double dx = at.x - player.pos.x, dz = at.z - player.pos.z;
    double fx = camera.target.x - camera.pos.x, fz = camera.target.z - camera.pos.z;
    const double look = std::hypot(fx, fz);
    const double flat = std::hypot(dx, dz);
    if (look > 1e-9 && flat > 1e-6) {
        fx /= look;
        fz /= look;
        // The camera's right hand is its heading turned a quarter clockwise seen from above.
        cue.pan = static_cast<float>((dx * -fz + dz * fx) / flat);
    }
    cue.distance = static_cast<float>(player.distance(at.x, at.y, at.z));
    return cue;
}

void rememberAll()
{
    heard.enemies.clear();
    for (const Enemy* e : enemyList)
        heard.enemies.emplace_back(e, e->state);
    heard.newest = enemyList.empty() ? nullptr : enemyList.back();
    heard.playerAt = player.pos;
    heard.hp = player.hp;
    heard.ended = set_endgame;
    heard.known = true;
}

// The enemies: one new at most per frame, at the end of the list; the oldest removed from its
// front by the cap. So the list as it stands is the remembered one without its first few, and
// perhaps one more.
void listenToEnemies()
{
    const bool spawned = !enemyList.empty() && enemyList.back() != heard.newest;
    const std::size_t kept = enemyList.size() - (spawned ? 1 : 0);
    int killed = 0;
    vec3 where{0, 0, 0};
    if (kept <= heard.enemies.size()) {
        const std::size_t removed = heard.enemies.size() - kept;
        for (std::size_t i = 0; i < kept; ++i) {
            const Enemy* e = enemyList[i];
            const auto& before = heard.enemies[i + removed];
            if (before.first == e && before.second != STATE_DEAD && e->state == STATE_DEAD) {
                where = where.add(e->pos);
                ++killed;
            }
        }
    }
    // Late in a game an enemy comes every frame: one in APPEAR_EVERY_MS is heard, not a drone.
    if (spawned && (!heard.comingYet || game_time - heard.lastComing >= APPEAR_EVERY_MS)) {
        send(placed(Sound::Appear, enemyList.back()->pos));
        heard.lastComing = game_time;
        heard.comingYet = true;
    }
    if (killed > 0) {
        where.scale(1.0 / killed);
        send(placed(Sound::Break, where, killed));
    }
}

void listenToSteps()
{
    const bool walking = player.state == STATE_ACTIVE && (input.keyW || input.keyA || input.keyS || input.keyD);
    if (!walking) {
        // The first step of a walk is heard as it begins.
        heard.walked = STRIDE;
        return;
    }
    const double dx = player.pos.x - heard.playerAt.x, dz = player.pos.z - heard.playerAt.z;
    const double moved = std::hypot(dx, dz);
    if (!(moved > 0) || moved > 100)
        return;
    // Several steps in one long frame are spread over the time the frame took, as walked.
    double at = heard.walked;
    double firstMs = -1;
    heard.walked += moved;
    for (double stride = STRIDE; at + moved >= stride && heard.walked >= STRIDE; stride += STRIDE) {
        const double ms = (stride - at) / moved * game_time_delta;
        if (firstMs < 0)
            firstMs = ms;
        SoundCue cue;
        cue.sound = Sound::Step;
        heard.leftFoot = !heard.leftFoot;
        cue.pan = heard.leftFoot ? -0.12f : 0.12f;
        cue.delayMs = static_cast<float>(ms - firstMs);
        send(cue);
        heard.walked -= STRIDE;
    }
}

void listenToPlayer()
{
    if (player.hp < heard.hp && !set_endgame) {
        if (!heard.heartbeatYet || game_time - heard.lastHeartbeat >= HURT_EVERY_MS) {
            // From where the drain comes: the enemies in reach.
            vec3 where{0, 0, 0};
            int draining = 0;
            for (const Enemy* e : enemyList) {
                if (e->state == STATE_ACTIVE && e->distance(player) <= e->range) {
                    where = where.add(e->pos);
                    ++draining;
                }
            }
            if (draining)
                where.scale(1.0 / draining);
            send(placed(Sound::Hurt, draining ? where : player.pos, draining ? draining : 1));
            heard.lastHeartbeat = game_time;
            heard.heartbeatYet = true;
        }
    }
    if (set_endgame && !heard.ended)
        send(placed(Sound::Fall, player.pos));
}

} // namespace

void setSoundOut(SoundOut* out) { output = out; }

void forgetHeardWorld() { heard = Heard{}; }

void listenToWorld()
{
    if (output)
        output->setOn(set_sound);
    if (heard.known) {
        listenToEnemies();
        listenToSteps();
        listenToPlayer();
    }
    rememberAll();
}

void noteBurst(Sound burst, std::size_t reached)
{
    send(placed(burst, player.pos, static_cast<int>(reached)));
}

void noteSettingsKey()
{
    SoundCue cue;
    cue.sound = Sound::Click;
    send(cue);
}
