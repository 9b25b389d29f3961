// SPDX-FileCopyrightText: 2026 The Glacimor developers
// SPDX-License-Identifier: GPL-3.0-or-later

// Escaping byte by byte: printable ASCII and well-formed UTF-8 pass, everything else is \xHH.
#include "core/printable.h"

namespace {

// The length of the well-formed UTF-8 sequence that starts at text[i], or 0. C1 controls
// (U+0080 to U+009F), which a terminal may act on, count as not well formed.
std::size_t utf8Length(const unsigned char* text, std::size_t i, std::size_t length)
{
    const unsigned char lead = text[i];
    std::size_t n = 0;
    unsigned char low = 0x80, high = 0xBF; // the range of the second byte
    if (lead >= 0xC2 && lead <= 0xDF) {
        n = 2;
        if (lead == 0xC2)
            low = 0xA0;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        n = 3;
        if (lead == 0xE0)
            low = 0xA0; // no overlong forms
        if (lead == 0xED)
            high = 0x9F; // no surrogates
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        n = 4;
        if (lead == 0xF0)
            low = 0x90;
        if (lead == 0xF4)
            high = 0x8F;
    } else {
        return 0;
    }
    if (i + n > length || text[i + 1] < low || text[i + 1] > high)
        return 0;
    for (std::size_t k = 2; k < n; ++k)
        if (text[i + k] < 0x80 || text[i + k] > 0xBF)
            return 0;
    return n;
}

// printable's work; keepLineBreaks lets a multi-line text (a driver's log) keep its lines.
std::string escaped(const char* text, std::size_t length, bool keepLineBreaks)
{
    static const char HEX[] = "0123456789abcdef";
    const unsigned char* bytes = reinterpret_cast<const unsigned char*>(text);
    std::string out;
    out.reserve(length);
    std::size_t i = 0;
    while (i < length) {
        const unsigned char c = bytes[i];
        if ((c >= 0x20 && c < 0x7f) || (keepLineBreaks && (c == '\n' || c == '\t'))) {
            out += static_cast<char>(c);
            ++i;
            continue;
        }
        if (const std::size_t n = c >= 0x80 ? utf8Length(bytes, i, length) : 0) {
            out.append(text + i, n);
            i += n;
            continue;
        }
        out += "\\x";
        out += HEX[c >> 4];
        out += HEX[c & 0xf];
        ++i;
    }
    return out;
}

} // namespace

std::string printable(const char* text, std::size_t length) { return escaped(text, length, true); }

std::string printable(const std::string& text) { return printable(text.data(), text.size()); }

std::string printableLine(const std::string& text) { return escaped(text.data(), text.size(), false); }
