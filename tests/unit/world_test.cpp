// SPDX-FileCopyrightText: 2026 The Glacimor developers
// SPDX-License-Identifier: GPL-3.0-or-later

// The world's reset against the world as the program has it when main starts: a game is played
// that disturbs every object of the world table, the reset puts it back, and the whole state is
// compared, object by object, with the state taken before any test ran.
#include "game_fixture.h"

#include "game/controls.h"
#include "game/world.h"

#include <cstdlib>
#include <iomanip>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

namespace {

// --- The whole state of each object, as text (exact: 17 significant digits) ----------------------

void describe(std::ostream& out, const vec3& v) { out << v.x << ' ' << v.y << ' ' << v.z << ' '; }

void describe(std::ostream& out, const float (&values)[4])
{
    for (float v : values)
        out << v << ' ';
}

// Each of several vectors or colours, in order.
template <typename... Parts>
void describeEach(std::ostream& out, const Parts&... parts)
{
    (describe(out, parts), ...);
}

void describe(std::ostream& out, const GameObject& g)
{
    describeEach(out, g.pos, g.dir, g.up);
    out << g.state << ' ';
    describeEach(out, g.ambient, g.diffuse, g.specular);
}

void describe(std::ostream& out, const Mob& m)
{
    describe(out, static_cast<const GameObject&>(m));
    out << m.hp << ' ' << m.speed << ' ' << m.range << ' ';
}

void describe(std::ostream& out, const std::vector<Effect*>& effects)
{
    for (const Effect* e : effects)
        out << "effect " << e->duration << ' ' << e->startTime << ' ' << e->strength << ' ' << e->status << '\n';
}

void describe(std::ostream& out, const std::vector<Enemy*>& enemies)
{
    for (const Enemy* e : enemies) {
        out << "enemy ";
        describe(out, static_cast<const Mob&>(*e));
        out << e->sight << '\n';
    }
}

void describe(std::ostream& out, const std::vector<Obstacle*>& obstacles)
{
    for (const Obstacle* o : obstacles) {
        out << "obstacle ";
        describe(out, *o);
        out << '\n';
    }
}

void describe(std::ostream& out, const std::vector<Light*>& lights)
{
    for (const Light* l : lights)
        out << (l == &light0 ? "light0 " : "another light ");
}

void describe(std::ostream& out, const std::vector<unsigned>& textures)
{
    for (unsigned t : textures)
        out << t << ' ';
}

void describe(std::ostream& out, const Camera& c) { describeEach(out, c.pos, c.target, c.up); }

void describe(std::ostream& out, const Input& i)
{
    for (bool held : {i.keyW, i.keyA, i.keyS, i.keyD, i.keyUp, i.keyDown, i.keyLeft, i.keyRight, i.mouseLeft,
                      i.mouseRight})
        out << held;
    out << ' ' << i.mouseX << ' ' << i.mouseY << ' ' << i.mouseSensitivity;
}

void describe(std::ostream& out, const Player& p)
{
    describe(out, static_cast<const Mob&>(p));
    out << p.camDist << ' ' << p.camHeight;
}

void describe(std::ostream& out, const Light& l)
{
    describe(out, static_cast<const GameObject&>(l));
    out << l.lightId << ' ';
    describe(out, l.lightPos);
}

void describe(std::ostream& out, const Blizzard& b)
{
    describe(out, b.position);
    out << b.sizeX << ' ' << b.sizeY << ' ' << b.sizeZ << ' ' << b.particleCount << '\n';
    for (long i = 0; i < b.particleCount; ++i)
        describe(out, b.particles[i]);
}

void describe(std::ostream& out, const FrameCounter& f)
{
    out << f.frameCount << ' ' << f.lastFrameCount << ' ' << f.now << ' ' << f.lastTime << ' ' << f.fpsValue;
}

void describe(std::ostream& out, const Gui& g)
{
    for (const Gui_textObj* slot : {&g.text1, &g.text2, &g.text3})
        out << '"' << slot->text.str() << "\" " << slot->red << ' ' << slot->green << ' ' << slot->blue << ' ';
    out << g.text3Timer << ' ' << g.text3Fresh;
}

void describe(std::ostream&, const Cube&) {}

using State = std::vector<std::pair<std::string, std::string>>;

// Every object of the world table, then the settings, the clocks and the snow's count of drawn flakes.
State worldState()
{
    State state;
    const auto add = [&state](const char* name, const auto& object) {
        std::ostringstream text;
        text << std::setprecision(17);
        describe(text, object);
        state.emplace_back(name, text.str());
    };
#define GLACIMOR_DESCRIBE_OBJECT(type, name, arguments, reset) add(#name, name);
    GLACIMOR_WORLD(GLACIMOR_DESCRIBE_OBJECT)
    std::ostringstream values;
    values << std::setprecision(17);
#define GLACIMOR_DESCRIBE_VALUE(type, name, value, ...) values << #name << ' ' << name << '\n';
    GLACIMOR_SETTINGS(GLACIMOR_DESCRIBE_VALUE, GLACIMOR_DESCRIBE_VALUE)
    GLACIMOR_CLOCKS(GLACIMOR_DESCRIBE_VALUE)
    values << "flakesDrawn " << flakesDrawn;
    state.emplace_back("settings and clocks", values.str());
    return state;
}

// Where two descriptions first part, with a little of each around it.
std::string firstDifference(const std::string& a, const std::string& b)
{
    std::size_t at = 0;
    while (at < a.size() && at < b.size() && a[at] == b[at])
        ++at;
    const std::size_t from = at < 40 ? 0 : at - 40;
    return "at character " + std::to_string(at) + ": \"" + a.substr(from, 80) + "\" against \"" +
           b.substr(from, 80) + "\"";
}

struct Start {
    State state;
    int nextRandom = 0;
};

Start& start()
{
    static Start s;
    return s;
}

// Takes the world as it stands when main starts, before any test has touched it.
class TakeStartState : public ::testing::Environment {
public:
    void SetUp() override
    {
        if (!start().state.empty())
            return; // repeated runs: keep the state from before the very first test
        start().state = worldState();
        // Where the random sequence stands: the next number. Every test starts from a reset.
        start().nextRandom = std::rand();
    }
};

::testing::Environment* const takeStartState = ::testing::AddGlobalTestEnvironment(new TakeStartState);

// --- A game, played with the game's own events ----------------------------------------------------

InputEvent keyEvent(InputEvent::Type type, Key key)
{
    InputEvent e;
    e.type = type;
    e.key = key;
    return e;
}

InputEvent buttonEvent(InputEvent::Type type, Button button)
{
    InputEvent e;
    e.type = type;
    e.button = button;
    return e;
}

InputEvent turnEvent(int dx, int dy)
{
    InputEvent e;
    e.type = InputEvent::MouseMotion;
    e.dx = dx;
    e.dy = dy;
    return e;
}

} // namespace

class WorldTest : public GameTest {
protected:
    Ticks now = 0;

    // Frames of 16 ms until the clock reads `until`.
    void runUntil(Ticks until)
    {
        while (now < until) {
            now += 16;
            frameAt(now);
        }
    }
};

TEST_F(WorldTest, ResetPutsEveryObjectBackAsTheProgramStarts)
{
    const State& before = start().state;
    ASSERT_FALSE(before.empty());

    // Every settings key, the wheel, the light raised, a walk with a turn: then the enemies come,
    // and the attacks put effects on them; the player's god mode keeps it alive.
    for (const SettingsKey& key : SETTINGS_KEYS)
        handleInput(keyEvent(InputEvent::KeyDown, key.key)); // god mode on, the rest off
    for (int i = 0; i < 3; ++i)
        handleInput(buttonEvent(InputEvent::ButtonDown, Button::WheelUp));
    handleInput(keyEvent(InputEvent::KeyDown, Key::Up));
    runUntil(800);
    handleInput(keyEvent(InputEvent::KeyUp, Key::Up));
    handleInput(keyEvent(InputEvent::KeyDown, Key::W));
    handleInput(turnEvent(300, -40));
    runUntil(2000);
    handleInput(keyEvent(InputEvent::KeyUp, Key::W));
    runUntil(30000);
    ASSERT_TRUE(set_god);
    handleInput(keyEvent(InputEvent::KeyDown, Key::Num2));
    handleInput(buttonEvent(InputEvent::ButtonDown, Button::Left)); // a stun burst, the button held
    handleInput(keyEvent(InputEvent::KeyDown, Key::S));             // held as the world is reset
    runUntil(30100);
    // An obstacle of the test's own: the reset only unlinks it.
    Obstacle rock(5, 0, 5, 45);
    ASSERT_FALSE(effectList.empty());

    // Everything the game moves has moved; what it never changes in play has not.
    const State played = worldState();
    ASSERT_EQ(played.size(), before.size());
    for (std::size_t i = 0; i < before.size(); ++i) {
        const std::string& name = before[i].first;
        const bool unchangedInPlay = name == "lightList" || name == "textureList" || name == "cube";
        EXPECT_EQ(played[i].second == before[i].second, unchangedInPlay) << name << " after the game";
    }

    resetWorld();
    const State reset = worldState();
    for (std::size_t i = 0; i < before.size(); ++i)
        EXPECT_EQ(reset[i].second, before[i].second)
            << before[i].first << " after the reset, " << firstDifference(reset[i].second, before[i].second);
    // And the random sequence goes on from where a fresh program's does.
    EXPECT_EQ(std::rand(), start().nextRandom);
}
