// SPDX-FileCopyrightText: 2026 The Glacimor developers
// SPDX-License-Identifier: GPL-3.0-or-later

// Text drawn from the built-in bitmap font as textured quads in the current coordinate system.
#ifndef GLACIMOR_UI_QUICKTEXT_H
#define GLACIMOR_UI_QUICKTEXT_H

// One glyph of the font raster. Units are texels ("glyph units"); the origin offsets are in
// ten-thousandths of a glyph unit, measured from the glyph box's left and bottom edges.
struct glQuickTextGlyph {
    int texX;    // raster column of the box's left edge
    int texY;    // raster row of the box's bottom edge (rows are stored bottom-up)
    int width;
    int height;
    int originX; // pen position from the box's left edge, 1/10000 glyph unit
    int originY; // baseline from the box's bottom edge, 1/10000 glyph unit
    int advance; // pen step after the glyph
    int texSize; // side of the font texture: 256
};

// The font: 256 x 256 coverage bytes, bottom row first, and one record pointer per byte value
// (null where the character has no glyph).
extern const unsigned char glQuickTextFontData[256 * 256];
extern const glQuickTextGlyph* const glQuickTextFontChars[256];

class glQuickText {
public:
    // Draws the printf-formatted text with the pen starting at (x, y) in the plane z, in the current
    // colour, its alpha the glyph's coverage; blended only as the caller's blend state says (the
    // game's blend function is set once at start-up).
    static void printfAt(double x, double y, double z, double size, const char* format, ...)
        __attribute__((format(printf, 5, 6)));
    // Writes the box covering the text laid out from (0, 0): min x, min y, max x, max y.
    static void stringBox(double* box, double size, const char* format, ...)
        __attribute__((format(printf, 3, 4)));
    // The line height for a size, without the renderer's fixed half scale.
    static double getFontHeight(double size);
};

#endif
