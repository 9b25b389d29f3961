// The world: every global object of the game, declared once here and defined in
// globals.cpp in the order they must be built.
#ifndef GLACIMOR_GLOBALS_H
#define GLACIMOR_GLOBALS_H

#include "actors/effect.h"
#include "actors/enemy.h"
#include "actors/player.h"
#include "clock.h"
#include "input.h"
#include "render/particles.h"
#include "ui/gui.h"
#include "world/camera.h"
#include "world/cube.h"
#include "world/light.h"

#include <vector>

extern std::vector<Effect*> effectList;     // running and expired status effects, oldest first; owns them
extern std::vector<Enemy*> enemyList;       // every enemy, living or dead, oldest first; owns them
extern std::vector<Obstacle*> obstacleList; // static obstacles; the game places none
extern std::vector<Light*> lightList;       // the lights drawn each frame; owns nothing
extern std::vector<unsigned> textureList;   // GL names of the four world textures, by TEX_* index
extern Camera camera;                       // the eye, placed behind the player each frame
extern Input input;                         // held keys and unconsumed mouse motion
extern Player player;                       // the one player, never replaced
extern Light light0;                        // the game's light; follows the player, raised with Up and Down
extern Blizzard blizzard;                   // the snowfall
extern FrameCounter fps;                    // frames per second for the HUD
extern Gui gui;                             // the heads-up display
extern Cube cube;                           // the drawer of the cube model

#endif
