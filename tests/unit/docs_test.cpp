// The key tables that a player reads, in the README and in the manual page, against the game: each
// function key's row names the two messages that the key really shows, in the words of the screen,
// and the setting's state at start, which the first press's message gives away.
#include "game_fixture.h"

#include "game/controls.h"

#include <fstream>
#include <sstream>
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
    for (int n = 0; n < 9; ++n) {
        const std::string key = "F" + std::to_string(n + 1);
        press.key = SETTINGS_KEYS[n].key;
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

// main's loop runs the frame's four calls in the order the architecture gives.
TEST(FrameDocsTest, MainRunsTheFrameInTheDocumentedOrder)
{
    const std::string doc = readSourceFile("docs/ARCHITECTURE.md");
    const std::string main = readSourceFile("src/platform/GM_Main.cpp");
    const std::size_t section = doc.find("\n## One frame\n");
    ASSERT_NE(section, std::string::npos);
    std::size_t inDoc = section, inMain = main.find("while (");
    ASSERT_NE(inMain, std::string::npos);
    for (const char* call : {"beginFrame", "pollEvents", "updateFrame", "renderFrame"}) {
        inDoc = doc.find(std::string("`") + call + "`", inDoc);
        inMain = main.find(std::string(call) + "(", inMain);
        EXPECT_NE(inDoc, std::string::npos) << call << " in the architecture, in order";
        EXPECT_NE(inMain, std::string::npos) << call << " in main's loop, in order";
    }
}
