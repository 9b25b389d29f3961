// SPDX-FileCopyrightText: 2026 The Glacimor developers
// SPDX-License-Identifier: GPL-3.0-or-later

// Start-up after glewInit: GLX or a native Wayland display (EGL, where GLEW finds no GLX display)
// start the game; a driver without the GL 2.0 functions of the shader programs is named on one
// line and the game draws without them; the check covers every function the game's library takes
// from GLEW.
#include "render/glew_status.h"

#include <gtest/gtest.h>

#include <dlfcn.h>

#include <fstream>
#include <string>
#include <utility>
#include <vector>

namespace {

void stand_in() {}

// GLEW's pointers that the game's library refers to ("__glewUseProgram"), listed from the library
// by the build (nm), with the pointers themselves found in the running test by name.
struct GlewPointer {
    std::string function; // "glUseProgram"
    void** pointer;
};

std::vector<GlewPointer> pointersTheLibraryUses()
{
    std::vector<GlewPointer> pointers;
    std::ifstream list(GLACIMOR_GLEW_SYMBOLS);
    std::string symbol;
    while (list >> symbol) {
        void* pointer = dlsym(RTLD_DEFAULT, symbol.c_str());
        EXPECT_NE(pointer, nullptr) << symbol << " is not in the running program";
        if (pointer)
            pointers.push_back({"gl" + symbol.substr(std::string("__glew").size()), static_cast<void**>(pointer)});
    }
    return pointers;
}

// Sets the pointers for one test and puts back what GLEW had afterwards.
class GlewPointers {
public:
    explicit GlewPointers(std::vector<GlewPointer> pointers) : pointers_(std::move(pointers))
    {
        for (const GlewPointer& p : pointers_)
            saved_.push_back(*p.pointer);
    }
    ~GlewPointers()
    {
        for (std::size_t i = 0; i < pointers_.size(); ++i)
            *pointers_[i].pointer = saved_[i];
    }
    GlewPointers(const GlewPointers&) = delete;
    GlewPointers& operator=(const GlewPointers&) = delete;

    const std::vector<GlewPointer>& all() const { return pointers_; }
    void loadAll()
    {
        for (const GlewPointer& p : pointers_)
            *p.pointer = reinterpret_cast<void*>(&stand_in);
    }

private:
    std::vector<GlewPointer> pointers_;
    std::vector<void*> saved_;
};

TEST(GlewStatus, EveryFunctionTheLibraryTakesFromGlewIsChecked)
{
    GlewPointers pointers(pointersTheLibraryUses());
    // The shader programs alone need twelve; a list that shrank means the build's list is broken.
    ASSERT_GE(pointers.all().size(), 12u);

    pointers.loadAll();
    EXPECT_EQ(missingGL2Function(), nullptr);
    for (const GlewPointer& p : pointers.all()) {
        void* loaded = *p.pointer;
        *p.pointer = nullptr;
        const char* missing = missingGL2Function();
        EXPECT_EQ(std::string(missing ? missing : "(none)"), p.function)
            << "the start-up check does not notice that " << p.function << " is not loaded";
        *p.pointer = loaded;
    }
}

TEST(GlewStatus, GoesOnWithGlxOrOnEglAndStopsWithGlewsReasonOtherwise)
{
    EXPECT_EQ(glewStartupFault(GLEW_OK), "");
    // A native Wayland display: no GLX display, but the context's functions are loaded.
    EXPECT_EQ(glewStartupFault(GLEW_ERROR_NO_GLX_DISPLAY), "");
    // No context at all, or one too old: GLEW's own words.
    EXPECT_EQ(glewStartupFault(GLEW_ERROR_NO_GL_VERSION), "Missing GL version");
    EXPECT_EQ(glewStartupFault(GLEW_ERROR_GL_VERSION_10_ONLY), "GL 1.1 and up are not supported");
    EXPECT_EQ(glewStartupFault(GLEW_ERROR_GLX_VERSION_11_ONLY), "GLX 1.2 and up are not supported");
}

TEST(GlewStatus, ADriverWithoutTheProgramsFunctionsIsNamedOnOneLine)
{
    EXPECT_EQ(missingProgramsNotice("4.5 (Compatibility Profile) Mesa 22.3.6", nullptr), "");
    // Mesa told to be GL 1.1 (MESA_GL_VERSION_OVERRIDE), as an old driver or indirect GLX.
    EXPECT_EQ(missingProgramsNotice("1.1 Mesa 22.3.6", "glAttachShader"),
              "the OpenGL driver offers OpenGL 1.1 Mesa 22.3.6 without glAttachShader; the shader programs "
              "need OpenGL 2.0 with GLSL: drawing without them");
    // The driver's words are its own: kept on the line, whatever bytes they hold.
    EXPECT_EQ(missingProgramsNotice("1.4\n(2.1 \x1b[2J)", "glCreateShader"),
              "the OpenGL driver offers OpenGL 1.4\\x0a(2.1 \\x1b[2J) without glCreateShader; the shader "
              "programs need OpenGL 2.0 with GLSL: drawing without them");
    EXPECT_EQ(missingProgramsNotice(nullptr, "glUseProgram"),
              "the OpenGL driver offers an unknown OpenGL version without glUseProgram; the shader programs "
              "need OpenGL 2.0 with GLSL: drawing without them");
}

} // namespace
