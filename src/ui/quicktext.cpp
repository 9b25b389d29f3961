// SPDX-FileCopyrightText: 2026 The Glacimor developers
// SPDX-License-Identifier: GPL-3.0-or-later

// The text renderer: lays out bytes of a formatted text over the built-in font raster.
#include "ui/quicktext.h"

#include "render/gl.h"
#include "render/pipeline.h"

#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <vector>

namespace {

constexpr float fixedScale = 0.5f; // every size is halved first
constexpr int fontHeight = 46;     // baseline to baseline, glyph units
constexpr int spaceWidth = 24;     // advance of a space, glyph units

GLuint texId = 0;

// Creates the font texture on first use: luminance and alpha both the coverage.
void init()
{
    static bool initDone = false;
    if (initDone)
        return;
    initDone = true;

    unsigned char* image = static_cast<unsigned char*>(std::malloc(2 * 256 * 256));
    for (int i = 0; i < 256 * 256; ++i) {
        image[2 * i] = glQuickTextFontData[i];
        image[2 * i + 1] = glQuickTextFontData[i];
    }
    glGenTextures(1, &texId);
    glBindTexture(GL_TEXTURE_2D, texId);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    unpackRowsAlignedTo(1);
    glTexImage2D(GL_TEXTURE_2D, 0, GL_LUMINANCE_ALPHA, 256, 256, 0, GL_LUMINANCE_ALPHA, GL_UNSIGNED_BYTE, image);
    std::free(image);
}

// Formats into a newly allocated text that the caller frees; null if formatting fails.
char* myvasprintf(const char* format, std::va_list args)
{
    std::va_list measure;
    va_copy(measure, args);
    const int length = std::vsnprintf(nullptr, 0, format, measure);
    va_end(measure);
    if (length < 0)
        return nullptr;
    char* text = static_cast<char*>(std::malloc(static_cast<std::size_t>(length) + 1));
    if (text)
        std::vsnprintf(text, static_cast<std::size_t>(length) + 1, format, args);
    return text;
}

// Walks the text as the pen moves, handing each glyph and the pen position to visit.
template <typename Visit>
void layout(const char* text, double x, double y, double s, Visit visit)
{
    double penX = x;
    double penY = y;
    for (const unsigned char* c = reinterpret_cast<const unsigned char*>(text); *c; ++c) {
        if (*c == '\n') {
            penX = x;
            penY -= fontHeight * s;
        } else if (*c == ' ') {
            penX += spaceWidth * s;
        } else if (const glQuickTextGlyph* g = glQuickTextFontChars[*c]) {
            visit(*g, penX, penY);
            penX += g->advance * s;
        }
    }
}

} // namespace

void glQuickText::printfAt(double x, double y, double z, double size, const char* format, ...)
{
    init();
    const double s = size * fixedScale;
    std::va_list args;
    va_start(args, format);
    char* text = myvasprintf(format, args);
    va_end(args);

    glBindTexture(GL_TEXTURE_2D, texId);
    modulateTexture();
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_REPEAT);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_REPEAT);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR);
    if (!text)
        return;

    // The whole text is one array of triangles, two for each glyph, drawn at once: each glyph's
    // corners are placed here rather than by a matrix pushed, moved and scaled for every glyph.
    static std::vector<float> position; // x y z of six corners a glyph
    static std::vector<float> texCoord; // s t of the same corners
    position.clear();
    texCoord.clear();
    layout(text, x, y, s, [&](const glQuickTextGlyph& g, double penX, double penY) {
        const double ox = -g.originX / 10000.0;
        const double oy = -g.originY / 10000.0;
        const double left = penX + s * ox;
        const double right = penX + s * (ox + g.width);
        const double bottom = penY + s * oy;
        const double top = penY + s * (oy + g.height);
        // Inset by 3/8 texel so linear filtering never reaches a neighbour's ink.
        const double s0 = (g.texX + 0.375) / g.texSize;
        const double t0 = (g.texY + 0.375) / g.texSize;
        const double s1 = s0 + (g.width - 0.75) / g.texSize;
        const double t1 = t0 + (g.height - 0.75) / g.texSize;
        const double corners[4][4] = {{left, bottom, s0, t0}, {right, bottom, s1, t0}, {right, top, s1, t1},
                                      {left, top, s0, t1}};
        for (const int i : {0, 1, 3, 1, 2, 3}) { // the glyph's quad as the triangles the driver made of it
            position.insert(position.end(), {static_cast<float>(corners[i][0]), static_cast<float>(corners[i][1]),
                                             static_cast<float>(z)});
            texCoord.insert(texCoord.end(), {static_cast<float>(corners[i][2]), static_cast<float>(corners[i][3])});
        }
    });
    VertexArrays a;
    a.position = position.data();
    a.texCoord = texCoord.data();
    drawTriangles(a, static_cast<int>(position.size() / 3));
    if (!texCoord.empty()) // arrays leave it undefined: keep what the last corner set
        setTexCoord(texCoord[texCoord.size() - 2], texCoord.back());
    std::free(text);
}

void glQuickText::stringBox(double* box, double size, const char* format, ...)
{
    init();
    const double s = size * fixedScale;
    std::va_list args;
    va_start(args, format);
    char* text = myvasprintf(format, args);
    va_end(args);

    box[0] = 1e29;
    box[1] = 1e29;
    box[2] = -1e29;
    box[3] = -1e29;
    if (!text)
        return;
    layout(text, 0, 0, s, [&](const glQuickTextGlyph& g, double penX, double penY) {
        const double left = -g.originX / 10000.0 * s + penX;
        const double bottom = -g.originY / 10000.0 * s + penY;
        const double right = left + g.width * s;
        const double top = bottom + g.height * s;
        if (left < box[0]) box[0] = left;
        if (bottom < box[1]) box[1] = bottom;
        if (right > box[2]) box[2] = right;
        if (top > box[3]) box[3] = top;
    });
    std::free(text);
}

double glQuickText::getFontHeight(double size)
{
    init();
    return fontHeight * size;
}
