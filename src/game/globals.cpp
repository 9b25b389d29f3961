// Definitions of the world's global objects, each declared in the header of the module that
// owns it. Within one file C++ builds them top to bottom, which is the order the world needs:
// the lists before the light that files itself in lightList, the player before anything that
// looks at it, the snow from the unseeded random generator after the world it falls on.
// Destroyed in reverse at exit. Keep every definition here, in this order.
#include "actors/effect.h"
#include "actors/enemy.h"
#include "actors/player.h"
#include "core/clock.h"
#include "core/input.h"
#include "render/gl.h"
#include "render/textures.h"
#include "ui/gui.h"
#include "world/camera.h"
#include "world/cube.h"
#include "world/game_object.h"
#include "world/light.h"
#include "world/particles.h"

std::vector<Effect*> effectList;
std::vector<Enemy*> enemyList;
std::vector<Obstacle*> obstacleList;
std::vector<Light*> lightList;
std::vector<unsigned> textureList;
Camera camera(10, 10, 10, 0, 0, 0);
Input input;
Player player(0, 0, 0);
Light light0(0, 20, 0, GL_LIGHT0);
Blizzard blizzard(0, 0, 0, 200, 200, 200, 8000);
FrameCounter fps;
Gui gui;
Cube cube;
