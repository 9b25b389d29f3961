// Reading the shader sources: the loader must hand the compiler every byte of the file, and the
// shipped sources must be what the loader and the driver expect.
#include "render/shader.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
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

TEST(ShippedShaderSources, AreGLSL120AndEndWithALineBreak)
{
    for (const char* name : {"GM_shader.vs", "GM_shader.fs", "GM_partshader.vs", "GM_partshader.fs"}) {
        SCOPED_TRACE(name);
        Text text(file2string(std::string(GLACIMOR_SOURCE_DIR) + "/shader/" + name));
        ASSERT_NE(text, nullptr);
        const std::string source(text.get());
        EXPECT_EQ(source.rfind("#version 120\n", 0), 0u);
        ASSERT_FALSE(source.empty());
        EXPECT_EQ(source.back(), '\n');
        // The game binds nothing of its own: a uniform other than the texture sampler, or an
        // attribute, would never be given a value.
        EXPECT_EQ(source.find("attribute "), std::string::npos);
        std::size_t at = 0;
        while ((at = source.find("uniform ", at)) != std::string::npos) {
            EXPECT_EQ(source.compare(at, 18, "uniform sampler2D "), 0) << source.substr(at, 40);
            at += 8;
        }
    }
}

} // namespace
