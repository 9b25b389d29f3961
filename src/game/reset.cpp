// The world as it stands before the first frame.
#include "game/reset.h"

#include "actors/effect.h"
#include "actors/enemy.h"
#include "actors/player.h"
#include "core/clock.h"
#include "core/input.h"
#include "core/settings.h"
#include "ui/gui.h"
#include "world/camera.h"
#include "world/game_object.h"
#include "world/light.h"
#include "world/particles.h"

#include <cstdlib>
#include <string>

namespace {

void clearSlot(Gui_textObj& slot)
{
    slot.text.str(std::string());
    slot.text.clear();
    slot.red = slot.green = slot.blue = 1.0;
}

} // namespace

void resetWorld()
{
    for (Effect* effect : effectList)
        delete effect;
    effectList.clear();
    for (Enemy* enemy : enemyList)
        delete enemy;
    enemyList.clear();
    obstacleList.clear();

    restoreDefaultSettings();
    player = Player(0, 0, 0);
    input = Input();
    camera = Camera(10, 10, 10, 0, 0, 0);
    light0.lightPos[0] = 0.0f;
    light0.lightPos[1] = 20.0f;
    light0.lightPos[2] = 0.0f;
    light0.lightPos[3] = 0.0f;
    game_time = game_time_last = game_time_delta = game_time500 = game_timeN = 0;
    frameNormalizer = 1.0;
    fps = FrameCounter();
    clearSlot(gui.text1);
    clearSlot(gui.text2);
    clearSlot(gui.text3);
    gui.text3Timer = 0;

    // An unseeded generator starts as seeded with 1; building the snow is its first use.
    std::srand(1);
    blizzard.init();
    flakesDrawn = 0;
}
