// The world as it stands before the first frame: built in the order the game needs.
#include "game_fixture.h"

#include <algorithm>

namespace {

// What the world looked like before any test ran, taken once when the test program starts.
struct StartState {
    std::size_t lightCount = 0;
    bool lightFirst = false;
    vec3 cameraPos, cameraTarget, cameraUp;
    vec3 playerPos, playerDir;
    double camDist = 0, camHeight = 0, hp = 0, speed = 0;
    int playerState = -1;
    float lightPos[4] = {-1, -1, -1, -1};
    std::size_t enemies = 99, effects = 99, obstacles = 99;
    double sensitivity = 0;
    int frameCount = -1;
    double normalizer = 0;
    bool toggles[7] = {};
    bool fullscreen = false, vsync = true, wireframe = true, god = true, endgame = true;
    double spawntime = 0, spawnscale = 0, score = -1;
    bool captured = false;
};

StartState& start()
{
    static StartState s;
    return s;
}

class CaptureStartState : public ::testing::Environment {
public:
    void SetUp() override
    {
        StartState& s = start();
        if (s.captured)
            return; // repeated runs: keep the state from before the very first test
        s.lightCount = static_cast<std::size_t>(std::count(lightList.begin(), lightList.end(), &light0));
        s.lightFirst = !lightList.empty() && lightList[0] == &light0;
        s.cameraPos = camera.pos;
        s.cameraTarget = camera.target;
        s.cameraUp = camera.up;
        s.playerPos = player.pos;
        s.playerDir = player.dir;
        s.camDist = player.camDist;
        s.camHeight = player.camHeight;
        s.hp = player.hp;
        s.speed = player.speed;
        s.playerState = player.state;
        std::copy(light0.lightPos, light0.lightPos + 4, s.lightPos);
        s.enemies = enemyList.size();
        s.effects = effectList.size();
        s.obstacles = obstacleList.size();
        s.sensitivity = input.mouseSensitivity;
        s.frameCount = fps.frameCount;
        s.normalizer = frameNormalizer;
        const bool toggles[7] = {set_shading, set_filtering, set_mipmap, set_aniso,
                                 set_fpscounter, set_culling, set_alpha};
        std::copy(toggles, toggles + 7, s.toggles);
        s.fullscreen = set_fullscreen;
        s.vsync = set_vsync;
        s.wireframe = set_wireframe;
        s.god = set_god;
        s.endgame = set_endgame;
        s.spawntime = set_spawntime;
        s.spawnscale = set_spawnscale;
        s.score = set_score;
        s.captured = true;
    }
};

// Registered during static initialisation; runs after main starts, before the first test.
::testing::Environment* const captureStartState = ::testing::AddGlobalTestEnvironment(new CaptureStartState);

} // namespace

TEST(Globals, LightFilesItselfOnceInTheLightList)
{
    ASSERT_TRUE(start().captured);
    EXPECT_TRUE(start().lightFirst);
    EXPECT_EQ(start().lightCount, 1u);
    ASSERT_FALSE(lightList.empty());
    EXPECT_EQ(lightList[0], &light0);
    EXPECT_EQ(light0.lightId, 0x4000u); // GL_LIGHT0
    EXPECT_EQ(light0.diffuse[0], 1.0f);
    EXPECT_EQ(light0.ambient[0], 0.0f);
}

TEST(Globals, CameraLooksAtTheOriginFromAbove)
{
    const StartState& s = start();
    EXPECT_EQ(s.cameraPos.x, 10.0);
    EXPECT_EQ(s.cameraPos.y, 10.0);
    EXPECT_EQ(s.cameraPos.z, 10.0);
    EXPECT_EQ(s.cameraTarget.x, 0.0);
    EXPECT_EQ(s.cameraTarget.y, 0.0);
    EXPECT_EQ(s.cameraTarget.z, 0.0);
    EXPECT_EQ(s.cameraUp.y, 1.0);
}

TEST(Globals, PlayerWaitsAtTheOriginWithFullHealth)
{
    const StartState& s = start();
    EXPECT_EQ(s.playerPos.x, 0.0);
    EXPECT_EQ(s.playerPos.y, 0.0);
    EXPECT_EQ(s.playerPos.z, 0.0);
    EXPECT_EQ(s.playerDir.z, -1.0);
    EXPECT_EQ(s.camDist, 180.0);
    EXPECT_EQ(s.camHeight, 0.2);
    EXPECT_EQ(s.hp, 100.0);
    EXPECT_EQ(s.speed, 1.5);
    EXPECT_EQ(s.playerState, 1);
    EXPECT_EQ(s.sensitivity, 0.15);
}

TEST(Globals, LightHangsAboveTheOriginAsADirection)
{
    const StartState& s = start();
    EXPECT_EQ(s.lightPos[0], 0.0f);
    EXPECT_EQ(s.lightPos[1], 20.0f);
    EXPECT_EQ(s.lightPos[2], 0.0f);
    EXPECT_EQ(s.lightPos[3], 0.0f);
}

TEST(Globals, WorldStartsEmptyAndUncounted)
{
    const StartState& s = start();
    EXPECT_EQ(s.enemies, 0u);
    EXPECT_EQ(s.effects, 0u);
    EXPECT_EQ(s.obstacles, 0u);
    EXPECT_EQ(s.frameCount, 0);
    EXPECT_EQ(s.normalizer, 1.0);
}

TEST(Globals, SettingsStartFromTheirDefaults)
{
    const StartState& s = start();
    for (int i = 0; i < 7; ++i)
        EXPECT_TRUE(s.toggles[i]) << i; // shading, filtering, mipmaps, AF, fps counter, culling, alpha
    EXPECT_TRUE(s.fullscreen);
    EXPECT_FALSE(s.vsync);
    EXPECT_FALSE(s.wireframe);
    EXPECT_FALSE(s.god);
    EXPECT_FALSE(s.endgame);
    EXPECT_EQ(s.spawntime, 2000.0);
    EXPECT_EQ(s.spawnscale, 0.995);
    EXPECT_EQ(s.score, 0.0);
}
