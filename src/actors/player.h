// SPDX-FileCopyrightText: 2026 The Glacimor developers
// SPDX-License-Identifier: GPL-3.0-or-later

// The player: walks with W A S D on the plateau, turns with the mouse, and carries
// the camera behind and above it.
#ifndef GLACIMOR_ACTORS_PLAYER_H
#define GLACIMOR_ACTORS_PLAYER_H

#include "actors/mob.h"

// Half the side of the square plateau the player may stand on.
constexpr double PLATEAU_HALF = 99.0;

class Player : public Mob {
public:
    double camDist = 180;   // camera distance behind the player; the wheel scales it by 1.2
    double camHeight = 0.2; // camera height above the player as a fraction of camDist

    Player(double x, double y, double z);

    // Once per frame, after every enemy: bound, move, turn, detect the end. The frame shows the
    // hit points on the HUD right after it.
    void update() override;
    // Where the camera stands: camDist behind the player along its heading, camDist * camHeight above.
    vec3 getCamPos() const;
    // One notch of the wheel: camDist divided by 1.2 (nearer) or multiplied by it. No limit that a
    // player meets, but a notch that would take the distance to infinity, or below the smallest
    // normal double (towards 0, where 1.2 no longer changes it), is not taken, so that as many
    // notches back always bring the view back.
    void zoomCamera(bool nearer);

    void style1(); // stun burst: a 5 s stun on every enemy within range + 5
    void style2(); // hit burst: 25 hit points off every enemy within range
    void style3(); // not an attack yet
    void style4(); // not an attack yet
};

extern Player player; // the one player, never replaced

#endif
