// SPDX-FileCopyrightText: 2026 The Glacimor developers
// SPDX-License-Identifier: GPL-3.0-or-later

// Reading the shader sources: the loader must hand the compiler every byte of the file, and the
// shipped sources must be what the loader and the driver expect.
#include "core/datafile.h"
#include "core/printable.h"
#include "platform/startup.h"
#include "render/shader.h"

#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/stat.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <future>
#include <memory>
#include <string>
#include <thread>
#include <unistd.h>

namespace {

namespace fs = std::filesystem;

struct FreeText {
    void operator()(char* text) const { std::free(text); }
};
using Text = std::unique_ptr<char, FreeText>;

// A private folder for the files of one test, removed afterwards.
class ShaderFileTest : public ::testing::Test {
protected:
    fs::path dir;

    void SetUp() override
    {
        dir = fs::temp_directory_path() /
              ("glacimor-shaderfile-" + std::to_string(::getpid()) + "-" +
               ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::create_directories(dir);
    }
    void TearDown() override { fs::remove_all(dir); }

    std::string write(const std::string& name, const std::string& content)
    {
        const fs::path path = dir / name;
        std::ofstream out(path, std::ios::binary);
        out << content;
        return path.string();
    }
};

TEST_F(ShaderFileTest, KeepsEveryByteWithOrWithoutAFinalLineBreak)
{
    const std::string withBreak = "#version 120\nvoid main()\n{\n    gl_Position = ftransform();\n}\n";
    const std::string withoutBreak = "#version 120\nvoid main() { gl_FragColor = vec4(1.0); }";
    // CR LF line ends are kept too: the file is read without translation.
    const std::string crlf = "#version 120\r\nvoid main() {}\r\n";

    for (const std::string& content : {withBreak, withoutBreak, crlf}) {
        Text text(file2string(write("source.vs", content)));
        ASSERT_NE(text, nullptr);
        EXPECT_EQ(std::string(text.get()), content);
        EXPECT_EQ(std::strlen(text.get()), content.size());
    }
    // The closing brace of a source without a final line break is what the game once lost.
    Text text(file2string(write("brace.fs", "}")));
    ASSERT_NE(text, nullptr);
    EXPECT_STREQ(text.get(), "}");
}

TEST_F(ShaderFileTest, EmptyFileGivesEmptyTextAndMissingFileGivesNull)
{
    Text empty(file2string(write("empty.vs", "")));
    ASSERT_NE(empty, nullptr);
    EXPECT_STREQ(empty.get(), "");

    EXPECT_EQ(file2string((dir / "missing.vs").string()), nullptr);
    EXPECT_EQ(file2string(dir.string() + "/no-such-folder/GM_shader.vs"), nullptr);
}

TEST(ShippedShaderSources, AreBodiesWithoutAVersionAndEndWithALineBreak)
{
    for (const char* name : {"GM_shader.vs", "GM_shader.fs", "GM_partshader.vs", "GM_partshader.fs"}) {
        SCOPED_TRACE(name);
        Text text(file2string(std::string(GLACIMOR_SOURCE_DIR) + "/shader/" + name));
        ASSERT_NE(text, nullptr);
        const std::string source(text.get());
        // The renderer's prelude gives the version and names what the shader reads, per GL flavour.
        EXPECT_EQ(source.find("#version"), std::string::npos);
        EXPECT_EQ(source.find("gl_LightSource"), std::string::npos);
        EXPECT_EQ(source.find("gl_ModelView"), std::string::npos);
        ASSERT_FALSE(source.empty());
        EXPECT_EQ(source.back(), '\n');
        // The prelude declares what a shader reads of the vertex, the matrices and the lamp; a
        // uniform of the file's own other than its texture sampler, or an attribute, would never
        // be given a value.
        EXPECT_EQ(source.find("attribute "), std::string::npos);
        std::size_t at = 0;
        while ((at = source.find("uniform ", at)) != std::string::npos) {
            EXPECT_EQ(source.compare(at, 18, "uniform sampler2D "), 0) << source.substr(at, 40);
            at += 8;
        }
    }
}

} // namespace

namespace {

// Reads `path` on a thread of its own and fails, instead of hanging, when that takes a second:
// a reader that opens a FIFO as a file waits for a writer forever.
char* readWithin(const std::string& path, std::string& why)
{
    std::promise<char*> done;
    std::future<char*> text = done.get_future();
    std::thread reader([&]() { done.set_value(file2string(path, why)); });
    if (text.wait_for(std::chrono::seconds(1)) != std::future_status::ready) {
        ADD_FAILURE() << path << " was still being opened after a second";
        // A writer releases the reader so that the thread can be joined.
        const int writer = ::open(path.c_str(), O_WRONLY | O_NONBLOCK);
        reader.join();
        if (writer >= 0)
            ::close(writer);
        return text.get();
    }
    reader.join();
    return text.get();
}

} // namespace

TEST_F(ShaderFileTest, OnlyRegularFilesUpToOneMebibyteAreRead)
{
    std::string why;
    // A folder where the source should be: its "length" by seeking was LLONG_MAX.
    fs::create_directories(dir / "folder.fs");
    EXPECT_EQ(readWithin((dir / "folder.fs").string(), why), nullptr);
    EXPECT_EQ(why, "it is a folder, not a file");

    // A FIFO without a writer: refused at once, never waited on.
    const std::string fifo = (dir / "fifo.vs").string();
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    EXPECT_EQ(readWithin(fifo, why), nullptr);
    EXPECT_EQ(why, "it is a FIFO, not a file");

    // A device, which would never end.
    EXPECT_EQ(readWithin("/dev/zero", why), nullptr);
    EXPECT_EQ(why, "it is a device, not a file");

    // 1 MiB is read whole; one byte more is refused.
    const std::string largest(SHADER_MAX_BYTES, 'x');
    Text text(readWithin(write("largest.fs", largest), why));
    ASSERT_NE(text, nullptr);
    EXPECT_EQ(std::strlen(text.get()), SHADER_MAX_BYTES);
    EXPECT_EQ(readWithin(write("larger.fs", largest + "x"), why), nullptr);
    EXPECT_EQ(why, "it is 1048577 bytes, more than the 1048576 allowed");

    EXPECT_EQ(readWithin((dir / "missing.fs").string(), why), nullptr);
    EXPECT_EQ(why, "the file is missing");
}

TEST_F(ShaderFileTest, DataFoldersThatAreMissingOrUnreadableAreToldApartOnOneLine)
{
    // Started in a folder whose name holds a line break and a tab: the line stays one line.
    const fs::path start = dir / "odd\nname\t";
    fs::create_directories(start);
    const fs::path before = fs::current_path();
    fs::current_path(start);
    const std::string where = (dir / "odd\\x0aname\\x09").string();
    const std::string howToStart =
        "; start the game with \"make run\" in its repository, or with the installed launcher \"glacimor\"";

    const std::string nothing = gameDataFault();
    fs::create_directory("textures");
    const std::string noShaders = gameDataFault();
    write("odd\nname\t/shader", "a file, not a folder");
    const std::string shaderAFile = gameDataFault();
    fs::remove("shader");
    fs::create_directory("shader");
    const std::string both = gameDataFault();
    // Folders that are there but may not be entered (root may enter any).
    fs::permissions("shader", fs::perms::none);
    const std::string shut = gameDataFault();
    fs::permissions("shader", fs::perms::owner_all);
    fs::current_path(before);

    EXPECT_EQ(nothing, "no game data in " + where + ": its textures/ and shader/ folders are not there" + howToStart);
    EXPECT_EQ(noShaders, "no game data in " + where + ": its shader/ folder is not there" + howToStart);
    EXPECT_EQ(shaderAFile, "cannot read the game data in " + where + ": its shader/ folder cannot be read (Not a directory)");
    EXPECT_EQ(both, "");
    if (::geteuid() != 0) {
        EXPECT_EQ(shut, "cannot read the game data in " + where + ": its shader/ folder cannot be read (Permission denied)");
    }
}

TEST(PrintableText, EscapesEveryByteATerminalWouldActOn)
{
    const std::string log = "0:2(1): error: #error \x1b[31mRED\x1b]0;title\x07\r\x9b" "2J\x7f ok\tdone\n";
    EXPECT_EQ(printable(log),
              "0:2(1): error: #error \\x1b[31mRED\\x1b]0;title\\x07\\x0d\\x9b2J\\x7f ok\tdone\n");
    // Bytes after a zero are text too: the length decides, not the terminator.
    EXPECT_EQ(printable("a\0b", 3), "a\\x00b");
    // Letters of a path in UTF-8 stay; the C1 control CSI in UTF-8, stray and cut bytes do not.
    EXPECT_EQ(printable("/home/jos\xc3\xa9/\xe2\x9d\x84 \xc2\x9b" "2J \xc3 \xe2\x9d"),
              "/home/jos\xc3\xa9/\xe2\x9d\x84 \\xc2\\x9b2J \\xc3 \\xe2\\x9d");
    // Within a one-line message the line breaks and tabs are escaped as well.
    EXPECT_EQ(printableLine(log),
              "0:2(1): error: #error \\x1b[31mRED\\x1b]0;title\\x07\\x0d\\x9b2J\\x7f ok\\x09done\\x0a");
    // A failed start-up step's reason is the driver's or the system's text: it stays on the step's line.
    testing::internal::CaptureStderr();
    reportStartupFailure("SDL_GL_CreateContext", "BadMatch\n\x1b[2Jtry again");
    EXPECT_EQ(testing::internal::GetCapturedStderr(),
              "glacimor: SDL_GL_CreateContext failed: BadMatch\\x0a\\x1b[2Jtry again\n");
}
