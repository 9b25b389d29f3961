// The key tables that a player reads, in the README and in the manual page, against the game: each
// function key's row names the two messages that the key really shows, in the words of the screen,
// and the setting's state at start, which the first press's message gives away.
#include "game_fixture.h"

#include <fstream>
#include <sstream>

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

class DocsTest : public GameTest {
protected:
    bool running = true;
    EventContext context{&running, nullptr};
};

TEST_F(DocsTest, KeyTablesNameTheMessagesAndDefaultsOfTheGame)
{
    const std::string readme = readSourceFile("README.md");
    const std::string page = readSourceFile("packaging/glacimor.6");
    ASSERT_FALSE(readme.empty());
    ASSERT_FALSE(page.empty());

    const SDL_Keycode keys[] = {SDLK_F1, SDLK_F2, SDLK_F3, SDLK_F4, SDLK_F5, SDLK_F6, SDLK_F7, SDLK_F8, SDLK_F9};
    for (int n = 0; n < 9; ++n) {
        const std::string key = "F" + std::to_string(n + 1);
        press(keys[n], context);
        const std::string first = text(gui.text3);
        press(keys[n], context);
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
