// Definitions of the world's global objects. Within one file C++ builds them top to bottom,
// which is the order the world needs: the lists before the light that files itself in
// lightList, the player before anything that looks at it, the snow from the unseeded
// random generator after the world it falls on. Destroyed in reverse at exit.
#include "globals.h"

#include "render/gl.h"

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
