// Placeholder until the font generator writes the real tables.
#include "ui/quicktext.h"
const unsigned char glQuickTextFontData[256 * 256] = {};
const glQuickTextGlyph* const glQuickTextFontChars[256] = {};
