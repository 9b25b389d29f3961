// SPDX-FileCopyrightText: 2026 The Glacimor developers
// SPDX-License-Identifier: GPL-3.0-or-later

// Builds the game's built-in font tables from a TrueType font: rasterises the 106 drawable
// characters with FreeType, packs them into one 256 x 256 coverage raster and writes a C++ source
// with the raster, one glyph record per character and the byte-indexed record table.
//
//   fontgen <font.ttf> <out.cpp>
//
// The text renderer treats the font as monospaced: line height 46, every advance 24 glyph units,
// one glyph unit being one texel. Each glyph is centred in its 24-unit cell and sits on the
// baseline; its box carries 1.5 texels of empty margin around the ink, so that linear filtering
// never pulls a neighbour's ink into it. The pixel size is the largest one (starting at 40 px per
// em, which gives DejaVu Sans Mono its natural 24-pixel advance) whose boxes all fit the raster.
#include <ft2build.h>
#include FT_FREETYPE_H
#include FT_BBOX_H
#include FT_OUTLINE_H

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

namespace {

constexpr int TEX_SIZE = 256;
constexpr int ADVANCE = 24;     // glyph units per character, space included
constexpr double MARGIN = 1.5;  // empty texels around the ink on every side
constexpr double MAX_PX_PER_EM = 40.0;
constexpr double MIN_PX_PER_EM = 24.0;
constexpr double PX_STEP = 0.25;
// Stroke thickening in texels, horizontal and vertical. The HUD draws a texel at about 0.4 pixel
// across and 0.3 pixel down, sampled linearly without mipmaps: strokes of the plain weight (about
// three texels) can fall between two samples and vanish, the flat strokes of 'e', '[' or '~' first.
constexpr double EMBOLDEN_X = 1.0;
constexpr double EMBOLDEN_Y = 1.5;

// The drawable bytes: '!' to 'z', then '|', '}', '~' ('{' has no glyph), then the Latin-1 letters
// the game's texts may use. Latin-1 bytes equal their Unicode code points.
std::vector<int> drawableCodes()
{
    std::vector<int> codes;
    for (int c = 33; c <= 122; ++c)
        codes.push_back(c);
    for (int c : {124, 125, 126, 199, 212, 224, 225, 226, 231, 232, 233, 234, 239, 244, 249, 251})
        codes.push_back(c);
    return codes;
}

struct Glyph {
    int code = 0;
    int width = 0, height = 0;     // box in texels, margins included
    int originX = 0, originY = 0;  // pen from the box's left / bottom edge, 1/10000 texel
    int texX = 0, texY = 0;        // placement in the raster (texY is the box's bottom row)
    std::vector<unsigned char> image; // width x height coverage, TOP row first (FreeType's order)
};

bool fail(const char* what, FT_Error error)
{
    std::fprintf(stderr, "fontgen: %s (FreeType error %d)\n", what, error);
    return false;
}

// Renders one character at the face's current size into a box with MARGIN texels around the
// exact outline bounds; the outline is shifted by a fraction of a texel so the margin is exact.
bool renderGlyph(FT_Library library, FT_Face face, int code, Glyph& glyph)
{
    const FT_UInt index = FT_Get_Char_Index(face, static_cast<FT_ULong>(code));
    if (index == 0) {
        std::fprintf(stderr, "fontgen: the font has no glyph for code %d\n", code);
        return false;
    }
    if (FT_Error error = FT_Load_Glyph(face, index, FT_LOAD_NO_HINTING | FT_LOAD_NO_BITMAP))
        return fail("cannot load a glyph", error);
    FT_GlyphSlot slot = face->glyph;
    if (slot->format != FT_GLYPH_FORMAT_OUTLINE) {
        std::fprintf(stderr, "fontgen: glyph for code %d is not an outline\n", code);
        return false;
    }
    FT_Outline& outline = slot->outline;
    if (FT_Error error = FT_Outline_EmboldenXY(&outline, static_cast<FT_Pos>(std::lround(EMBOLDEN_X * 64)),
                                               static_cast<FT_Pos>(std::lround(EMBOLDEN_Y * 64))))
        return fail("cannot thicken a glyph", error);
    // Thickening grows the outline to the right and upwards; take half of the width back to the
    // left so that the glyph stays centred, and leave the baseline where it is.
    FT_Outline_Translate(&outline, -static_cast<FT_Pos>(std::lround(EMBOLDEN_X * 32)), 0);

    // Centre the font's own cell in the renderer's 24-unit cell.
    const double cellShift = (ADVANCE - slot->advance.x / 64.0) / 2.0;

    FT_BBox bbox;
    FT_Outline_Get_BBox(&outline, &bbox);
    const double xMin = bbox.xMin / 64.0, xMax = bbox.xMax / 64.0;
    const double yMin = bbox.yMin / 64.0, yMax = bbox.yMax / 64.0;

    glyph.code = code;
    glyph.width = static_cast<int>(std::ceil(xMax - xMin + 2 * MARGIN));
    glyph.height = static_cast<int>(std::ceil(yMax - yMin + 2 * MARGIN));
    // The box's left edge lies at xMin + cellShift - MARGIN from the pen, its bottom edge at
    // yMin - MARGIN from the baseline; the records store the negated offsets.
    glyph.originX = static_cast<int>(std::lround((MARGIN - xMin - cellShift) * 10000.0));
    glyph.originY = static_cast<int>(std::lround((MARGIN - yMin) * 10000.0));

    FT_Outline_Translate(&outline, static_cast<FT_Pos>(std::lround(MARGIN * 64)) - bbox.xMin,
                         static_cast<FT_Pos>(std::lround(MARGIN * 64)) - bbox.yMin);
    glyph.image.assign(static_cast<std::size_t>(glyph.width) * glyph.height, 0);
    FT_Bitmap bitmap;
    std::memset(&bitmap, 0, sizeof bitmap);
    bitmap.rows = static_cast<unsigned>(glyph.height);
    bitmap.width = static_cast<unsigned>(glyph.width);
    bitmap.pitch = glyph.width;
    bitmap.buffer = glyph.image.data();
    bitmap.num_grays = 256;
    bitmap.pixel_mode = FT_PIXEL_MODE_GRAY;
    if (FT_Error error = FT_Outline_Get_Bitmap(library, &outline, &bitmap))
        return fail("cannot rasterise a glyph", error);
    return true;
}

// Shelf packing, tallest boxes first: fills rows of the raster from the bottom up.
bool pack(std::vector<Glyph>& glyphs)
{
    std::vector<Glyph*> order;
    for (Glyph& g : glyphs)
        order.push_back(&g);
    std::stable_sort(order.begin(), order.end(), [](const Glyph* a, const Glyph* b) {
        return a->height != b->height ? a->height > b->height : a->width > b->width;
    });
    int x = 0, shelfY = 0, shelfHeight = 0;
    for (Glyph* g : order) {
        if (g->width > TEX_SIZE)
            return false;
        if (x + g->width > TEX_SIZE) {
            shelfY += shelfHeight;
            x = 0;
            shelfHeight = 0;
        }
        if (shelfY + g->height > TEX_SIZE)
            return false;
        g->texX = x;
        g->texY = shelfY;
        x += g->width;
        shelfHeight = std::max(shelfHeight, g->height);
    }
    return true;
}

bool renderAll(FT_Library library, FT_Face face, double pxPerEm, std::vector<Glyph>& glyphs)
{
    const FT_F26Dot6 size = static_cast<FT_F26Dot6>(std::lround(pxPerEm * 64));
    if (FT_Error error = FT_Set_Char_Size(face, 0, size, 72, 72)) // 72 dpi: one point is one pixel
        return fail("cannot set the size", error);
    glyphs.clear();
    for (int code : drawableCodes()) {
        glyphs.emplace_back();
        if (!renderGlyph(library, face, code, glyphs.back()))
            return false;
    }
    return true;
}

std::string describe(int code)
{
    static const char* const latin1[] = {"C cedilla", "O circumflex", "a grave", "a acute", "a circumflex",
                                         "c cedilla", "e grave", "e acute", "e circumflex", "i diaeresis",
                                         "o circumflex", "u grave", "u circumflex"};
    static const int latin1Codes[] = {199, 212, 224, 225, 226, 231, 232, 233, 234, 239, 244, 249, 251};
    if (code < 127) {
        if (code == '\\')
            return "'\\\\'";
        if (code == '\'')
            return "'\\''";
        return std::string("'") + static_cast<char>(code) + "'";
    }
    for (std::size_t i = 0; i < sizeof latin1Codes / sizeof latin1Codes[0]; ++i)
        if (latin1Codes[i] == code)
            return std::string("Latin-1 ") + latin1[i];
    return "?";
}

bool write(const char* command, const char* path, const char* fontPath, FT_Face face, double pxPerEm, const std::vector<Glyph>& glyphs)
{
    std::vector<unsigned char> raster(TEX_SIZE * TEX_SIZE, 0);
    for (const Glyph& g : glyphs)
        for (int row = 0; row < g.height; ++row)    // row 0 of the image is its top
            for (int col = 0; col < g.width; ++col) // raster rows are stored bottom-up
                raster[static_cast<std::size_t>(g.texY + g.height - 1 - row) * TEX_SIZE + g.texX + col] =
                    g.image[static_cast<std::size_t>(row) * g.width + col];

    FILE* out = std::fopen(path, "w");
    if (!out) {
        std::perror(path);
        return false;
    }
    // The glyphs are Bitstream Vera's (DejaVu's changes to them are in the public domain), so the
    // file carries the font's licence, not the game's. The markers keep the licence checker from
    // taking these lines for this tool's own licence.
    // REUSE-IgnoreStart
    std::fprintf(out,
                 "// SPDX-FileCopyrightText: 2003 Bitstream, Inc.\n"
                 "// SPDX-License-Identifier: Bitstream-Vera\n"
                 "// GENERATED FILE, do not edit: regenerate with `make font`, which runs\n"
                 "//   %s %s %s\n"
                 "// The glyphs are rasterised with FreeType from the font %s %s (%s)\n"
                 "// at %.2f pixels per em, strokes thickened by %.1f texel across and %.1f up.\n"
                 "// The font's licence: LICENSES/Bitstream-Vera.txt.\n"
                 "#include \"ui/quicktext.h\"\n\n",
                 command, fontPath, path, face->family_name, face->style_name, fontPath, pxPerEm, EMBOLDEN_X,
                 EMBOLDEN_Y);
    // REUSE-IgnoreEnd

    std::fprintf(out, "// Coverage of the font raster, 256 rows of 256 texels, the bottom row first.\n");
    std::fprintf(out, "const unsigned char glQuickTextFontData[256 * 256] = {\n");
    for (int i = 0; i < TEX_SIZE * TEX_SIZE; i += 32) {
        std::fprintf(out, "   ");
        for (int j = 0; j < 32; ++j)
            std::fprintf(out, " %d,", raster[static_cast<std::size_t>(i + j)]);
        std::fprintf(out, "\n");
    }
    std::fprintf(out, "};\n\n");

    std::fprintf(out, "// texX, texY, width, height, originX, originY, advance, texSize\n");
    std::vector<std::string> names(256);
    for (std::size_t i = 0; i < glyphs.size(); ++i) {
        const Glyph& g = glyphs[i];
        char name[24];
        std::snprintf(name, sizeof name, "c%02zx", i);
        names[static_cast<std::size_t>(g.code)] = name;
        std::fprintf(out, "const glQuickTextGlyph %s = {%d, %d, %d, %d, %d, %d, %d, %d}; // %d %s\n", name, g.texX,
                     g.texY, g.width, g.height, g.originX, g.originY, ADVANCE, TEX_SIZE, g.code,
                     describe(g.code).c_str());
    }

    std::fprintf(out, "\n// One record per byte value; null where the byte has no glyph.\n");
    std::fprintf(out, "const glQuickTextGlyph* const glQuickTextFontChars[256] = {\n");
    for (int row = 0; row < 256; row += 8) {
        std::fprintf(out, "   ");
        for (int c = row; c < row + 8; ++c)
            std::fprintf(out, " %s,", names[static_cast<std::size_t>(c)].empty()
                                          ? "nullptr"
                                          : ("&" + names[static_cast<std::size_t>(c)]).c_str());
        std::fprintf(out, " // %d\n", row);
    }
    std::fprintf(out, "};\n");
    return std::fclose(out) == 0;
}

} // namespace

int main(int argc, char** argv)
{
    if (argc != 3) {
        std::fprintf(stderr, "usage: fontgen <font.ttf> <out.cpp>\n");
        return 2;
    }
    FT_Library library;
    if (FT_Error error = FT_Init_FreeType(&library))
        return fail("cannot start FreeType", error), 1;
    FT_Face face;
    if (FT_Error error = FT_New_Face(library, argv[1], 0, &face))
        return fail(argv[1], error), 1;

    std::vector<Glyph> glyphs;
    for (double px = MAX_PX_PER_EM; px >= MIN_PX_PER_EM; px -= PX_STEP) {
        if (!renderAll(library, face, px, glyphs))
            return 1;
        if (!pack(glyphs))
            continue;
        if (!write(argv[0], argv[2], argv[1], face, px, glyphs))
            return 1;
        std::printf("fontgen: %zu glyphs at %.2f px per em -> %s\n", glyphs.size(), px, argv[2]);
        FT_Done_Face(face);
        FT_Done_FreeType(library);
        return 0;
    }
    std::fprintf(stderr, "fontgen: the glyphs do not fit a %d x %d raster\n", TEX_SIZE, TEX_SIZE);
    return 1;
}
