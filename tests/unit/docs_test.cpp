// SPDX-FileCopyrightText: 2026 The Glacimor developers
// SPDX-License-Identifier: GPL-3.0-or-later

// The key tables that a player reads, in the README and in the manual page, against the game: each
// function key's row names the two messages that the key really shows, in the words of the screen,
// and the setting's state at start, which the first press's message gives away. And the frame rates
// that the README, the manual page and docs/DEMO.md quote, against the one run recorded in
// docs/PERFORMANCE.md.
#include "game_fixture.h"

#include "game/controls.h"

#include <cctype>
#include <fstream>
#include <map>
#include <set>
#include <sstream>
#include <iterator>
#include <string>
#include <utility>
#include <vector>

namespace {

std::string readSourceFile(const std::string& relative)
{
    std::ifstream in(std::string(GLACIMOR_SOURCE_DIR) + "/" + relative, std::ios::binary);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

// The README's table row of a key: the line that begins "| F1 |".
std::string readmeRow(const std::string& readme, const std::string& key)
{
    const std::string start = "| " + key + " |";
    std::istringstream lines(readme);
    std::string line;
    while (std::getline(lines, line))
        if (line.compare(0, start.size(), start) == 0)
            return line;
    return "";
}

// A cell of a Markdown table row, counted from 0 at the key, without its padding.
std::string cell(const std::string& row, int index)
{
    std::size_t begin = row.find('|');
    for (int i = 0; i < index && begin != std::string::npos; ++i)
        begin = row.find('|', begin + 1);
    if (begin == std::string::npos)
        return "";
    const std::size_t end = row.find('|', begin + 1);
    std::string text = row.substr(begin + 1, end == std::string::npos ? std::string::npos : end - begin - 1);
    const std::size_t first = text.find_first_not_of(' ');
    const std::size_t last = text.find_last_not_of(' ');
    return first == std::string::npos ? "" : text.substr(first, last - first + 1);
}

// The manual page's entry of a key: from its ".B F1" tag to the next paragraph macro.
std::string manEntry(const std::string& page, const std::string& key)
{
    const std::string tag = "\n.B " + key + "\n";
    const std::size_t begin = page.find(tag);
    if (begin == std::string::npos)
        return "";
    const std::size_t end = page.find("\n.", begin + tag.size() - 1);
    return page.substr(begin, end == std::string::npos ? std::string::npos : end - begin);
}

bool endsWith(const std::string& text, const std::string& tail)
{
    return text.size() >= tail.size() && text.compare(text.size() - tail.size(), tail.size(), tail) == 0;
}

// The frames per second of the recorded run, by scene and resolution: the table of docs/PERFORMANCE.md
// under "## A recorded run", as `make bench` prints it (scene, resolution, frames, median ms, fps, ...).
std::map<std::pair<std::string, std::string>, std::string> recordedFps(const std::string& performance)
{
    std::map<std::pair<std::string, std::string>, std::string> fps;
    const std::size_t section = performance.find("\n## A recorded run\n");
    if (section == std::string::npos)
        return fps;
    std::istringstream lines(performance.substr(section + 1));
    std::string line;
    std::getline(lines, line); // the heading
    bool inTable = false;
    while (std::getline(lines, line)) {
        if (line.rfind("## ", 0) == 0)
            break;
        if (line.rfind("| scene ", 0) == 0) {
            inTable = cell(line, 4) == "fps";
            continue;
        }
        if (line.rfind("|", 0) != 0) {
            inTable = false; // the table ended
            continue;
        }
        if (!inTable || line.rfind("|-", 0) == 0)
            continue;
        const std::string value = cell(line, 4);
        if (value != "-")
            fps[{cell(line, 0), cell(line, 1)}] = value;
    }
    return fps;
}

// Every figure that a text puts before "frames per second", alone or as a range ("9.4 to 79.5"),
// wherever its lines break.
std::set<std::string> quotedRates(const std::string& text)
{
    std::string flat;
    for (const char c : text)
        if (!std::isspace(static_cast<unsigned char>(c)))
            flat += c;
        else if (flat.empty() || flat.back() != ' ')
            flat += ' ';
    // The number that ends just before `end` (a space between them), or "" with none there.
    const auto numberBefore = [&flat](std::size_t end, std::size_t& begin) {
        if (end == 0 || flat[end - 1] != ' ')
            return std::string();
        begin = end - 1;
        while (begin > 0 && (std::isdigit(static_cast<unsigned char>(flat[begin - 1])) || flat[begin - 1] == '.'))
            --begin;
        return flat.substr(begin, end - 1 - begin);
    };
    std::set<std::string> figures;
    const std::string unit = "frames per second";
    for (std::size_t at = flat.find(unit); at != std::string::npos; at = flat.find(unit, at + 1)) {
        std::size_t begin = 0;
        const std::string last = numberBefore(at, begin);
        if (last.empty())
            continue;
        figures.insert(last);
        const std::string to = " to ";
        if (begin >= to.size() && flat.compare(begin - to.size(), to.size(), to) == 0) {
            const std::string first = numberBefore(begin - to.size() + 1, begin);
            if (!first.empty())
                figures.insert(first);
        }
    }
    return figures;
}

} // namespace

using DocsTest = GameTest;

TEST_F(DocsTest, KeyTablesNameTheMessagesAndDefaultsOfTheGame)
{
    const std::string readme = readSourceFile("README.md");
    const std::string page = readSourceFile("packaging/glacimor.6");
    ASSERT_FALSE(readme.empty());
    ASSERT_FALSE(page.empty());

    InputEvent press;
    press.type = InputEvent::KeyDown;
    for (const SettingsKey& settingsKey : SETTINGS_KEYS) {
        const std::string key = settingsKey.name;
        press.key = settingsKey.key;
        handleInput(press);
        const std::string first = text(gui.text3);
        handleInput(press);
        const std::string second = text(gui.text3);
        ASSERT_TRUE(endsWith(first, " on") || endsWith(first, " off")) << key << ": " << first;
        // A setting that starts off is announced "... on" at the first press.
        const std::string atStart = endsWith(first, " on") ? "off" : "on";

        const std::string row = readmeRow(readme, key);
        ASSERT_FALSE(row.empty()) << "the README has no table row for " << key;
        EXPECT_EQ(cell(row, 2), atStart) << "README, default of " << key << ": " << row;
        const std::string messages = cell(row, 3);
        EXPECT_NE(messages.find('"' + first + '"'), std::string::npos) << "README, " << key << ": " << row;
        EXPECT_NE(messages.find('"' + second + '"'), std::string::npos) << "README, " << key << ": " << row;

        const std::string entry = manEntry(page, key);
        ASSERT_FALSE(entry.empty()) << "the manual page has no entry for " << key;
        EXPECT_NE(entry.find("\\(lq" + first + "\\(rq"), std::string::npos) << "manual page, " << key << ": " << entry;
        EXPECT_NE(entry.find("\\(lq" + second + "\\(rq"), std::string::npos) << "manual page, " << key << ": " << entry;
        EXPECT_NE(entry.find(atStart == "on" ? "On at start" : "Off at start"), std::string::npos)
            << "manual page, default of " << key << ": " << entry;
    }
}

namespace {

// The numbered lists of docs/ARCHITECTURE.md's section "One frame": each list's lines
// "1. `name` ...", in order, as the names and the rest of each line.
std::vector<std::vector<std::pair<std::string, std::string>>> documentedStepLists(const std::string& doc)
{
    std::vector<std::vector<std::pair<std::string, std::string>>> lists;
    const std::size_t begin = doc.find("\n## One frame\n");
    if (begin == std::string::npos)
        return lists;
    const std::size_t end = doc.find("\n## ", begin + 1);
    std::istringstream lines(doc.substr(begin, end == std::string::npos ? std::string::npos : end - begin));
    std::string line;
    bool inList = false;
    while (std::getline(lines, line)) {
        const std::size_t dot = line.find(". `");
        const bool numbered = dot != std::string::npos && dot > 0 &&
                              line.find_first_not_of("0123456789") == dot;
        if (!numbered) {
            inList = false;
            continue;
        }
        if (!inList)
            lists.emplace_back();
        inList = true;
        const std::size_t nameEnd = line.find('`', dot + 3);
        lists.back().emplace_back(line.substr(dot + 3, nameEnd - dot - 3), line.substr(nameEnd + 1));
    }
    return lists;
}

} // namespace

// The steps of a frame are listed once, in game/frame.cpp; the architecture's account of a frame
// names them in the same order, and marks the floor steps that the benchmark draws alone.
TEST(FrameDocsTest, ArchitectureNamesTheFrameStepsInTheirOrder)
{
    const auto lists = documentedStepLists(readSourceFile("docs/ARCHITECTURE.md"));
    ASSERT_EQ(lists.size(), 2u) << "two numbered lists in \"One frame\": updateFrame's steps and renderFrame's";

    std::vector<std::string> update, documentedUpdate;
    for (const UpdateStep& step : updateSteps())
        update.push_back(step.name);
    for (const auto& line : lists[0])
        documentedUpdate.push_back(line.first);
    EXPECT_EQ(documentedUpdate, update);

    std::vector<std::string> render, documentedRender;
    for (const RenderStep& step : renderSteps())
        render.push_back(std::string(step.name) + (step.floor ? " (floor)" : ""));
    for (const auto& line : lists[1])
        documentedRender.push_back(line.first + (line.second.rfind(" (floor)", 0) == 0 ? " (floor)" : ""));
    EXPECT_EQ(documentedRender, render);
}

// main's loop runs the frame, whose calls come in the order the architecture gives: the same frame
// that the browser calls once per animation frame.
TEST(FrameDocsTest, MainRunsTheFrameInTheDocumentedOrder)
{
    const std::string doc = readSourceFile("docs/ARCHITECTURE.md");
    const std::string main = readSourceFile("src/platform/GM_Main.cpp");
    const std::size_t section = doc.find("\n## One frame\n");
    ASSERT_NE(section, std::string::npos);
    const std::size_t loop = main.find("while (running)\n        playFrame();");
    EXPECT_NE(loop, std::string::npos) << "main's loop runs playFrame while the running flag holds";
    EXPECT_NE(main.find("emscripten_set_main_loop(playFrame,"), std::string::npos) << "the browser runs the same frame";
    std::size_t inDoc = section, inMain = main.find("void playFrame()");
    ASSERT_NE(inMain, std::string::npos);
    EXPECT_LT(inMain, loop) << "the frame is defined before main's loop";
    for (const char* call : {"beginFrame", "pollEvents", "updateFrame", "renderFrame"}) {
        inDoc = doc.find(std::string("`") + call + "`", inDoc);
        inMain = main.find(std::string(call) + "(", inMain);
        EXPECT_NE(inDoc, std::string::npos) << call << " in the architecture, in order";
        EXPECT_LT(inMain, loop) << call << " in the frame that main's loop runs, in order";
    }
}

TEST(DocsFrameRates, AreQuotedFromTheRecordedRun)
{
    const auto fps = recordedFps(readSourceFile("docs/PERFORMANCE.md"));
    const auto of = [&fps](const std::string& scene, const std::string& resolution) {
        const auto found = fps.find({scene, resolution});
        return found == fps.end() ? std::string("(no such row)") : found->second;
    };
    const std::string peak = "peak, culling on, shading on";
    const std::string start800 = of("start", "800x600"), start1280 = of("start", "1280x720");
    const std::string peak800 = of(peak, "800x600"), peak1280 = of(peak, "1280x720");
    ASSERT_NE(start800, "(no such row)") << "docs/PERFORMANCE.md's recorded run has no fps column for the start";
    ASSERT_NE(peak1280, "(no such row)") << "docs/PERFORMANCE.md's recorded run has no fps column for the peak";

    // The README's table: the start and the peak, 800x600 then 1280x720.
    const std::string readme = readSourceFile("README.md");
    const std::string startRow = readmeRow(readme, "at the start: the player alone");
    const std::string peakRow = readmeRow(readme, "at the peak: 1000 enemies, a tenth of them dead and a tenth stunned");
    ASSERT_FALSE(startRow.empty()) << "the README's frame-rate table has no start row";
    ASSERT_FALSE(peakRow.empty()) << "the README's frame-rate table has no peak row";
    EXPECT_EQ(cell(startRow, 1), start800) << "README, the start at 800x600: " << startRow;
    EXPECT_EQ(cell(startRow, 2), start1280) << "README, the start at 1280x720: " << startRow;
    EXPECT_EQ(cell(peakRow, 1), peak800) << "README, the peak at 800x600: " << peakRow;
    EXPECT_EQ(cell(peakRow, 2), peak1280) << "README, the peak at 1280x720: " << peakRow;

    // The manual page gives the range, from the peak at 1280x720 to the start at 800x600, and the
    // demo the start at its 1280x720; no text quotes a rate the run did not measure.
    const std::string page = readSourceFile("packaging/glacimor.6");
    const std::string demo = readSourceFile("docs/DEMO.md");
    EXPECT_NE(page.find(peak1280 + " to " + start800 + " frames per second"), std::string::npos)
        << "the manual page does not quote \"" << peak1280 << " to " << start800 << " frames per second\"";
    EXPECT_NE(demo.find(start1280 + " frames per second"), std::string::npos)
        << "docs/DEMO.md does not quote \"" << start1280 << " frames per second\"";
    std::set<std::string> measured;
    for (const auto& row : fps)
        measured.insert(row.second);
    for (const auto& [name, text] : {std::pair<std::string, std::string>{"README.md", readme},
                                     {"packaging/glacimor.6", page},
                                     {"docs/DEMO.md", demo}})
        for (const std::string& figure : quotedRates(text))
            EXPECT_EQ(measured.count(figure), 1u)
                << name << " quotes " << figure << " frames per second, which docs/PERFORMANCE.md's recorded run does not give";
}
