// SPDX-FileCopyrightText: 2026 The Glacimor developers
// SPDX-License-Identifier: GPL-3.0-or-later

// The contract between the game and its end-to-end tests: the report of the game's state that
// the probe has the game write after every frame, key by key.
#include "game_fixture.h"

#include "game/controls.h"
#include "game/state_report.h"
#include "world/camera.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <map>
#include <sstream>
#include <string>
#include <vector>

namespace {

struct Lines {
    std::map<std::string, std::string> first; // each key's first line
    std::vector<std::string> enemies;          // the values of every "enemy" line
};

Lines reportOf(const ShownFrame& frame)
{
    char* buffer = nullptr;
    std::size_t size = 0;
    std::FILE* out = open_memstream(&buffer, &size);
    writeStateReport(out, frame);
    std::fclose(out);
    std::istringstream text(std::string(buffer, size));
    std::free(buffer);
    Lines lines;
    std::string line;
    while (std::getline(text, line)) {
        const std::size_t space = line.find(' ');
        const std::string key = line.substr(0, space);
        const std::string value = space == std::string::npos ? "" : line.substr(space + 1);
        lines.first.emplace(key, value);
        if (key == "enemy")
            lines.enemies.push_back(value);
    }
    return lines;
}

std::vector<double> numbers(const std::string& value)
{
    std::istringstream in(value);
    std::vector<double> out;
    double v;
    while (in >> v)
        out.push_back(v);
    return out;
}

} // namespace

using StateReportTest = GameTest;

TEST_F(StateReportTest, TellsTheFrameTheSettingsTheMessageAndWhereEachFigureStands)
{
    // A frame in a game: god mode switched on by its key, the player 20 units out, one enemy in
    // front of it and one behind the camera, one effect running.
    frameAt(1234);
    handleInput([] {
        InputEvent f1;
        f1.type = InputEvent::KeyDown;
        f1.key = Key::F1;
        return f1;
    }());
    player.place(20, 0, 0);
    player.hp = 42.3;
    placeCamera();
    Enemy* ahead = new Enemy(20, 0, -10);
    const vec3 eye = camera.pos;
    new Enemy(eye.x, eye.y, eye.z + 5); // behind the camera
    new Stun(player, *ahead, 5000);

    ShownFrame frame;
    frame.number = 7;
    frame.ms = 16.46;
    frame.longestMs = 40;
    frame.context.samples = 4;
    frame.context.sampleBuffers = 1;
    frame.context.renderer = "llvmpipe (LLVM 15.0.6, 256 bits)";
    frame.width = 800;
    frame.height = 600;
    const Lines r = reportOf(frame);

    EXPECT_EQ(r.first.at("frame"), "7");
    EXPECT_EQ(r.first.at("frame_ms"), "16.5");
    EXPECT_EQ(r.first.at("longest_frame_ms"), "40.0");
    EXPECT_EQ(r.first.at("samples"), "4");
    EXPECT_EQ(r.first.at("sample_buffers"), "1");
    EXPECT_EQ(r.first.at("viewport"), "800 600");
    EXPECT_EQ(r.first.at("renderer"), "llvmpipe (LLVM 15.0.6, 256 bits)");
    EXPECT_EQ(r.first.at("ticks"), "1234");
    // Every setting by the word of its table line, among them the words the end-to-end tests wait on.
#define GLACIMOR_EXPECT_REPORTED(type, name, value, report, ...) EXPECT_EQ(r.first.count(report), 1u) << report;
    GLACIMOR_SETTINGS(GLACIMOR_EXPECT_REPORTED, GLACIMOR_EXPECT_REPORTED)
#undef GLACIMOR_EXPECT_REPORTED
    for (const char* key : {"god", "fpscounter", "wireframe", "filtering", "mipmap", "aniso", "shading", "culling",
                            "alpha", "endgame", "spawntime", "fullscreen"})
        EXPECT_EQ(r.first.count(key), 1u) << key;
    EXPECT_EQ(r.first.at("god"), "1");
    EXPECT_EQ(r.first.at("wireframe"), "0");
    EXPECT_EQ(r.first.at("message"), "godmode on");

    // The player stands where the camera looks: the middle of the screen, one world unit there as
    // large as the frustum makes it at the camera's distance.
    const std::vector<double> p = numbers(r.first.at("player"));
    ASSERT_EQ(p.size(), 9u);
    EXPECT_EQ(p[0], 20.0);
    EXPECT_EQ(p[3], 42.3);
    EXPECT_EQ(p[4], STATE_ACTIVE);
    EXPECT_EQ(p[5], 180.0);
    EXPECT_EQ(p[6], 400.0);
    EXPECT_EQ(p[7], 300.0);
    const double depth = player.distance(camera.pos.x, camera.pos.y, camera.pos.z);
    EXPECT_NEAR(p[8], 3.0 / 0.5 / depth * 600 / 2, 0.005);
    EXPECT_EQ(r.first.at("player_dir"), "0.0000 0.0000 -1.0000");
    // Its back, one unit nearer the camera, a little below the middle and a little larger.
    const std::vector<double> back = numbers(r.first.at("player_back"));
    ASSERT_EQ(back.size(), 3u);
    EXPECT_EQ(back[0], 400.0);
    EXPECT_GT(back[1], 300.0);
    EXPECT_GT(back[2], p[8]);

    EXPECT_EQ(r.first.at("enemies"), "2");
    ASSERT_EQ(r.enemies.size(), 2u);
    const std::vector<double> a = numbers(r.enemies[0]);
    ASSERT_EQ(a.size(), 9u);
    EXPECT_EQ(a[2], -10.0);
    EXPECT_EQ(a[5], 400.0) << "straight ahead of the player, on the screen's middle column";
    EXPECT_LT(a[6], 300.0) << "farther off, higher on the screen";
    EXPECT_EQ(a[8], 10.0) << "its distance to the player";
    const std::vector<double> b = numbers(r.enemies[1]);
    ASSERT_EQ(b.size(), 9u);
    EXPECT_EQ(b[5], -1.0) << "behind the camera: off the screen";
    EXPECT_EQ(b[6], -1.0);
    EXPECT_EQ(b[7], 0.0);
    EXPECT_EQ(r.first.at("effects"), "1");
}

TEST_F(StateReportTest, ContractWritesTheReportWholeToItsFileAndCountsTheFrames)
{
    const std::string path = ::testing::TempDir() + "glacimor-state-report-test.state";
    std::remove(path.c_str());
    glacimor_report_state(path.c_str());
    glacimor_report_state(path.c_str());
    std::FILE* in = std::fopen(path.c_str(), "r");
    ASSERT_NE(in, nullptr);
    char line[64] = {};
    ASSERT_NE(std::fgets(line, sizeof line, in), nullptr);
    std::fclose(in);
    EXPECT_STREQ(line, "frame 2\n") << "the second frame shown";
    std::FILE* aside = std::fopen((path + ".new").c_str(), "r");
    EXPECT_EQ(aside, nullptr) << "written aside, then renamed over the report";
    if (aside)
        std::fclose(aside);
    std::remove(path.c_str());
}
