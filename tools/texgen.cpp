// SPDX-FileCopyrightText: 2026 The Glacimor developers
// SPDX-License-Identifier: GPL-3.0-or-later

// texgen: paints the four world textures of Glacimor from nothing but fixed seeds.
//
// Regenerate the committed files with
//     make textures
// which builds this program and runs `./build/release/texgen textures`. The output is
// deterministic: the same source always writes the same bytes, and a test checks that the
// files in textures/ match what this program makes.
//
// Usage: texgen <output-folder>
// Writes cubeface.bmp, cubeface2.bmp, wall.bmp and iceground.bmp: uncompressed 24-bit BMPs,
// rows bottom-up, blue-green-red, each row padded to 4 bytes.
//
// Everything here uses only the standard library and double arithmetic without library
// randomness, so the pictures do not depend on the platform's random generator.

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

namespace {

// ---------------------------------------------------------------------------------------------
// Colours and images

struct Colour {
    double r, g, b;
};

Colour operator+(Colour a, Colour b) { return {a.r + b.r, a.g + b.g, a.b + b.b}; }
Colour operator*(Colour a, double k) { return {a.r * k, a.g * k, a.b * k}; }

Colour mix(Colour a, Colour b, double t) { return a * (1 - t) + b * t; }

double clamp01(double x) { return x < 0 ? 0 : (x > 1 ? 1 : x); }

double smoothstep(double e0, double e1, double x)
{
    const double t = clamp01((x - e0) / (e1 - e0));
    return t * t * (3 - 2 * t);
}

double lerp(double a, double b, double t) { return a + (b - a) * t; }

// An image in linear 0..1 colour, row 0 at the top, as the game samples it (t = 0 at the top).
struct Image {
    int w, h;
    std::vector<Colour> px;
    Image(int width, int height) : w(width), h(height), px(static_cast<std::size_t>(width) * height) {}
    Colour& at(int x, int y) { return px[static_cast<std::size_t>(y) * w + x]; }
};

unsigned char toByte(double v) { return static_cast<unsigned char>(std::lround(clamp01(v) * 255.0)); }

void put16(std::vector<unsigned char>& out, unsigned v)
{
    out.push_back(static_cast<unsigned char>(v & 0xFF));
    out.push_back(static_cast<unsigned char>((v >> 8) & 0xFF));
}

void put32(std::vector<unsigned char>& out, std::uint32_t v)
{
    put16(out, v & 0xFFFF);
    put16(out, v >> 16);
}

bool writeBMP(const Image& img, const std::string& path)
{
    const std::uint32_t rowBytes = (static_cast<std::uint32_t>(img.w) * 3 + 3) & ~3u;
    const std::uint32_t dataBytes = rowBytes * static_cast<std::uint32_t>(img.h);
    std::vector<unsigned char> out;
    out.reserve(54 + dataBytes);
    // File header.
    out.push_back('B');
    out.push_back('M');
    put32(out, 54 + dataBytes);
    put32(out, 0);
    put32(out, 54);
    // BITMAPINFOHEADER: 24 bits, no compression, positive height (bottom-up rows).
    put32(out, 40);
    put32(out, static_cast<std::uint32_t>(img.w));
    put32(out, static_cast<std::uint32_t>(img.h));
    put16(out, 1);
    put16(out, 24);
    put32(out, 0);
    put32(out, dataBytes);
    put32(out, 2835); // 72 dpi
    put32(out, 2835);
    put32(out, 0);
    put32(out, 0);
    for (int y = img.h - 1; y >= 0; --y) {
        const std::size_t start = out.size();
        for (int x = 0; x < img.w; ++x) {
            const Colour c = img.px[static_cast<std::size_t>(y) * img.w + x];
            out.push_back(toByte(c.b));
            out.push_back(toByte(c.g));
            out.push_back(toByte(c.r));
        }
        while (out.size() - start < rowBytes)
            out.push_back(0);
    }
    std::FILE* f = std::fopen(path.c_str(), "wb");
    if (!f) {
        std::fprintf(stderr, "texgen: cannot write %s\n", path.c_str());
        return false;
    }
    const bool ok = std::fwrite(out.data(), 1, out.size(), f) == out.size();
    return std::fclose(f) == 0 && ok;
}

// ---------------------------------------------------------------------------------------------
// Noise

std::uint32_t hash3(std::uint32_t x, std::uint32_t y, std::uint32_t seed)
{
    std::uint32_t h = x * 0x8DA6B343u ^ y * 0xD8163841u ^ seed * 0xCB1AB31Fu;
    h ^= h >> 16;
    h *= 0x7FEB352Du;
    h ^= h >> 15;
    h *= 0x846CA68Bu;
    h ^= h >> 16;
    return h;
}

// A value in [0, 1) fixed for each lattice point and seed.
double rand01(int x, int y, std::uint32_t seed)
{
    return hash3(static_cast<std::uint32_t>(x), static_cast<std::uint32_t>(y), seed) / 4294967296.0;
}

int wrap(int i, int period) { return period > 0 ? ((i % period) + period) % period : i; }

// Smooth value noise in [0, 1]; with a period it repeats every `period` units.
double valueNoise(double x, double y, std::uint32_t seed, int period = 0)
{
    const double fx = std::floor(x), fy = std::floor(y);
    const int ix = static_cast<int>(fx), iy = static_cast<int>(fy);
    double tx = x - fx, ty = y - fy;
    tx = tx * tx * tx * (tx * (tx * 6 - 15) + 10);
    ty = ty * ty * ty * (ty * (ty * 6 - 15) + 10);
    const int x0 = wrap(ix, period), x1 = wrap(ix + 1, period);
    const int y0 = wrap(iy, period), y1 = wrap(iy + 1, period);
    const double a = rand01(x0, y0, seed), b = rand01(x1, y0, seed);
    const double c = rand01(x0, y1, seed), d = rand01(x1, y1, seed);
    return lerp(lerp(a, b, tx), lerp(c, d, tx), ty);
}

// Layered value noise in about [0, 1].
double fbm(double x, double y, int octaves, std::uint32_t seed, double gain = 0.5, int period = 0)
{
    double sum = 0, amp = 1, norm = 0;
    for (int i = 0; i < octaves; ++i) {
        sum += valueNoise(x, y, seed + 101u * static_cast<std::uint32_t>(i), period) * amp;
        norm += amp;
        amp *= gain;
        x *= 2;
        y *= 2;
        period *= 2;
    }
    return sum / norm;
}

// Ridged noise: bright thin ridges where the noise crosses its middle.
double ridged(double x, double y, int octaves, std::uint32_t seed)
{
    double sum = 0, amp = 1, norm = 0;
    for (int i = 0; i < octaves; ++i) {
        const double n = 1 - std::fabs(valueNoise(x, y, seed + 7u * static_cast<std::uint32_t>(i)) * 2 - 1);
        sum += n * n * amp;
        norm += amp;
        amp *= 0.5;
        x *= 2.03;
        y *= 2.03;
    }
    return sum / norm;
}

// Distance (in cell units) from (x, y) to the nearest border between Voronoi cells whose
// seeds jitter inside a grid of unit cells. Also yields the nearest cell's id.
struct CellHit {
    double edge;
    std::uint32_t id;
};

CellHit voronoi(double x, double y, std::uint32_t seed)
{
    const int cx = static_cast<int>(std::floor(x)), cy = static_cast<int>(std::floor(y));
    double best = 1e9, bx = 0, by = 0;
    int bi = 0, bj = 0;
    for (int j = -1; j <= 1; ++j)
        for (int i = -1; i <= 1; ++i) {
            const double px = cx + i + 0.1 + 0.8 * rand01(cx + i, cy + j, seed);
            const double py = cy + j + 0.1 + 0.8 * rand01(cx + i, cy + j, seed + 1);
            const double d = (px - x) * (px - x) + (py - y) * (py - y);
            if (d < best) {
                best = d;
                bx = px;
                by = py;
                bi = cx + i;
                bj = cy + j;
            }
        }
    double edge = 1e9;
    for (int j = -2; j <= 2; ++j)
        for (int i = -2; i <= 2; ++i) {
            const int gi = bi + i, gj = bj + j;
            if (i == 0 && j == 0)
                continue;
            const double px = gi + 0.1 + 0.8 * rand01(gi, gj, seed);
            const double py = gj + 0.1 + 0.8 * rand01(gi, gj, seed + 1);
            const double mx = (bx + px) / 2 - x, my = (by + py) / 2 - y;
            const double dx = px - bx, dy = py - by;
            const double len = std::sqrt(dx * dx + dy * dy);
            if (len > 1e-9)
                edge = std::min(edge, (mx * dx + my * dy) / len);
        }
    return {edge, hash3(static_cast<std::uint32_t>(bi), static_cast<std::uint32_t>(bj), seed + 2)};
}

// Distance from p to the segment a-b.
double segDist(double px, double py, double ax, double ay, double bx, double by)
{
    const double vx = bx - ax, vy = by - ay;
    const double t = clamp01(((px - ax) * vx + (py - ay) * vy) / (vx * vx + vy * vy));
    const double dx = px - ax - vx * t, dy = py - ay - vy * t;
    return std::sqrt(dx * dx + dy * dy);
}

// Coverage of a shape whose signed distance is d (negative inside), with an edge of width aa.
double fill(double d, double aa) { return 1 - smoothstep(-aa, aa, d); }

// ---------------------------------------------------------------------------------------------
// The ice floor: one copy covers the whole 200 x 200 floor, mostly seen at a grazing angle,
// so the large shapes (depth, big cracks, frost drifts) carry the look and fine detail is a bonus.

Image iceGround()
{
    const int N = 1024;
    Image img(N, N);
    const Colour deep{0.10, 0.26, 0.46};
    const Colour mid{0.36, 0.60, 0.80};
    const Colour clear{0.70, 0.86, 0.96};
    const Colour frost{0.93, 0.97, 1.00};
    for (int y = 0; y < N; ++y)
        for (int x = 0; x < N; ++x) {
            const double u = (x + 0.5) / N, v = (y + 0.5) / N;
            // Depth: slow swells of dark water under the surface.
            const double depth = fbm(u * 4, v * 4, 5, 11);
            const double swirl = fbm(u * 9 + depth * 2, v * 9 - depth * 2, 4, 12);
            double t = smoothstep(0.25, 0.75, depth * 0.7 + swirl * 0.3);
            Colour c = mix(deep, mid, t);
            c = mix(c, clear, smoothstep(0.55, 0.9, swirl) * 0.6);

            // A sunken crack network, blurred and dark, seen through the ice below the surface one.
            const double wu = u + (fbm(u * 6, v * 6, 3, 21) - 0.5) * 0.08;
            const double wv = v + (fbm(u * 6, v * 6, 3, 22) - 0.5) * 0.08;
            const CellHit deepCell = voronoi(wu * 5 + 0.37, wv * 5 + 0.71, 23);
            c = mix(c, deep * 0.7, (1 - smoothstep(0.0, 0.06, deepCell.edge)) * 0.35);

            // Each slab of the surface network has its own slight tint, like plates of ice.
            const CellHit slab = voronoi(wu * 7, wv * 7, 31);
            const double plate = (slab.id % 1000) / 1000.0;
            c = c * (0.9 + 0.18 * plate);

            // Surface cracks: a white core with a dark bluish shadow beside it.
            const double crack = 1 - smoothstep(0.004, 0.018, slab.edge);
            const double shadow = 1 - smoothstep(0.0, 0.05, slab.edge);
            c = mix(c, deep * 0.8, shadow * 0.35);
            c = mix(c, frost, crack * 0.9);

            // Fine hairline cracks, only in some places.
            const CellHit fine = voronoi(wu * 22 + 3.1, wv * 22 + 1.7, 41);
            const double fineMask = smoothstep(0.5, 0.7, fbm(u * 5, v * 5, 3, 42));
            c = mix(c, clear * 1.05, (1 - smoothstep(0.01, 0.05, fine.edge)) * fineMask * 0.55);

            // Frost: drifts from the walls inward, and scattered patches of rime.
            const double edgeDist = std::min(std::min(u, 1 - u), std::min(v, 1 - v));
            const double drift = 1 - smoothstep(0.0, 0.12 + 0.08 * fbm(u * 8, v * 8, 3, 51), edgeDist);
            const double grain = fbm(u * 160, v * 160, 2, 53);
            const double rime = smoothstep(0.62, 0.8, fbm(u * 12, v * 12, 5, 52)) * (0.6 + 0.4 * grain);
            c = mix(c, frost * (0.9 + 0.1 * grain), clamp01(drift * 0.85 + rime * 0.45));

            // Glints: a sparse few specks of hoar on the surface (more would read as snowfall).
            const double glint = smoothstep(0.93, 0.99, valueNoise(u * 300, v * 300, 61));
            c = mix(c, frost, glint * 0.35);
            img.at(x, y) = c;
        }
    return img;
}

// ---------------------------------------------------------------------------------------------
// The wall: courses of icy stone blocks with frost in the joints, snow drifted against the
// foot (the bottom of the image lies on the floor) and the stone darker toward the ceiling.

Image wall()
{
    const int N = 512;
    Image img(N, N);
    const Colour stoneDark{0.20, 0.28, 0.40};
    const Colour stoneLight{0.50, 0.63, 0.78};
    const Colour frost{0.90, 0.95, 1.00};
    const int rows = 9;
    const double cols = 4.5;
    for (int y = 0; y < N; ++y)
        for (int x = 0; x < N; ++x) {
            const double u = (x + 0.5) / N, v = (y + 0.5) / N;
            // Courses of stone: row heights shrink slightly toward the top.
            const double rowPos = std::pow(v, 0.92) * rows;
            const int row = static_cast<int>(rowPos);
            const double rv = rowPos - row;
            // Blocks in a row: widths vary, each row shifted.
            const double shift = rand01(row, 0, 71);
            const double colPos = u * cols + shift + 0.25 * (fbm(v * 3, 0.5, 2, 72) - 0.5);
            const int col = static_cast<int>(std::floor(colPos));
            const double cu = colPos - col;
            const double jointU = std::min(cu, 1 - cu) / cols; // in image units
            const double jointV = std::min(rv, 1 - rv) / rows;
            const double joint = std::min(jointU, jointV);
            const double blockTone = rand01(col, row, 73);

            const double grain = fbm(u * 14, v * 14, 5, 74);
            const double veins = ridged(u * 5 + blockTone * 10, v * 5, 4, 75);
            Colour c = mix(stoneDark, stoneLight, clamp01(0.25 + 0.5 * grain + 0.35 * blockTone));
            c = mix(c, frost * 0.95, smoothstep(0.75, 0.95, veins) * 0.5);
            // Bevel: each block catches light on its upper edge and darkens toward its lower one.
            const double bevel = smoothstep(0.0, 0.03, joint);
            const double upper = 1 - smoothstep(0.0, 0.05, rv * (1.0 / rows));
            const double lower = 1 - smoothstep(0.0, 0.05, (1 - rv) * (1.0 / rows));
            c = c * (0.82 + 0.18 * bevel) * (1 + 0.15 * upper) * (1 - 0.15 * lower);
            // Frost packed into the joints, uneven.
            const double jointWidth = 0.006 + 0.006 * fbm(u * 30, v * 30, 2, 76);
            c = mix(c, frost * 0.92, 1 - smoothstep(jointWidth * 0.5, jointWidth, joint));

            // Meltwater refrozen in streaks below each course's upper joint.
            const double streak = smoothstep(0.55, 0.85, fbm(u * 90, v * 3, 3, 80)) * (1 - smoothstep(0.0, 0.7, rv));
            c = mix(c, frost * 0.85, streak * 0.45);

            // Cold shadow toward the ceiling, a low snow drift along the foot.
            c = c * (0.72 + 0.28 * smoothstep(0.0, 0.7, v));
            const double driftLine = 0.95 - 0.035 * fbm(u * 6, 0.3, 4, 77);
            const double drift = smoothstep(driftLine - 0.02, driftLine + 0.05, v);
            c = mix(c, frost * (0.88 + 0.12 * fbm(u * 60, v * 60, 2, 78)), drift);
            // Rime creeping up from the drift.
            const double rime = smoothstep(0.55, 0.75, fbm(u * 10, v * 10, 4, 79)) * smoothstep(0.4, 0.9, v);
            c = mix(c, frost, rime * 0.5);
            img.at(x, y) = c;
        }
    return img;
}

// ---------------------------------------------------------------------------------------------
// The faces. Each side of a figure multiplies the texture with a strong colour (green, white,
// red, blue), so the face is a bright, nearly white ground with dark features: light stays light
// under every tint. The bottom-right corner also colours the top and bottom of the cube, so it
// stays light as well.

const int FACE = 256;

// Supersampled painting: fn(u, v) gives the colour at a point of the face.
template <typename Fn>
Image paintFace(Fn fn)
{
    Image img(FACE, FACE);
    const int S = 3;
    for (int y = 0; y < FACE; ++y)
        for (int x = 0; x < FACE; ++x) {
            Colour sum{0, 0, 0};
            for (int j = 0; j < S; ++j)
                for (int i = 0; i < S; ++i)
                    sum = sum + fn((x + (i + 0.5) / S) / FACE, (y + (j + 0.5) / S) / FACE);
            img.at(x, y) = sum * (1.0 / (S * S));
        }
    return img;
}

double ellipseDist(double u, double v, double cx, double cy, double rx, double ry)
{
    const double dx = (u - cx) / rx, dy = (v - cy) / ry;
    return (std::sqrt(dx * dx + dy * dy) - 1) * std::min(rx, ry);
}

// The rim of a face: slightly shaded so the cube's sides read as separate planes.
double rimShade(double u, double v)
{
    const double e = std::min(std::min(u, 1 - u), std::min(v, 1 - v));
    return 0.80 + 0.20 * smoothstep(0.0, 0.08, e);
}

Colour livingFace(double u, double v)
{
    const Colour skin{1.00, 0.97, 0.93};
    const Colour ink{0.06, 0.05, 0.08};
    const double aa = 1.0 / FACE;
    // Snowy fur: soft noise, never dark.
    const double fur = fbm(u * 24, v * 24, 3, 91);
    Colour c = skin * (0.90 + 0.10 * fur) * rimShade(u, v);
    // Cheeks: a faint warm blush.
    const double cheek = std::min(ellipseDist(u, v, 0.22, 0.62, 0.09, 0.06), ellipseDist(u, v, 0.78, 0.62, 0.09, 0.06));
    c = mix(c, Colour{1.0, 0.80, 0.80}, fill(cheek, 0.04) * 0.5);
    // Eyebrows, set with resolve.
    const double brow = std::min(segDist(u, v, 0.18, 0.20, 0.42, 0.26), segDist(u, v, 0.82, 0.20, 0.58, 0.26)) - 0.028;
    c = mix(c, ink, fill(brow, aa));
    // Eyes: dark ovals with a light glint, looking slightly forward.
    const double eye = std::min(ellipseDist(u, v, 0.32, 0.42, 0.095, 0.125), ellipseDist(u, v, 0.68, 0.42, 0.095, 0.125));
    c = mix(c, ink, fill(eye, aa));
    const double glint = std::min(ellipseDist(u, v, 0.295, 0.385, 0.032, 0.036), ellipseDist(u, v, 0.655, 0.385, 0.032, 0.036));
    c = mix(c, Colour{1, 1, 1}, fill(glint, aa));
    // Mouth: a wide, open grin.
    const double mdx = u - 0.5, mdy = v - 0.60;
    const double mouthOuter = std::sqrt(mdx * mdx / 0.9 + mdy * mdy) - 0.22;
    const double mouth = std::max(mouthOuter, 0.70 - v); // lower half of an ellipse
    c = mix(c, ink, fill(mouth, aa));
    // Tongue inside the mouth.
    const double tongue = std::max(ellipseDist(u, v, 0.5, 0.80, 0.09, 0.05), mouth);
    c = mix(c, Colour{0.75, 0.25, 0.30}, fill(tongue, aa) * 0.8);
    return c;
}

Colour deadFace(double u, double v)
{
    const Colour skin{0.60, 0.68, 0.78};
    const Colour ink{0.04, 0.06, 0.10};
    const Colour frost{0.92, 0.96, 1.00};
    const double aa = 1.0 / FACE;
    const double mottled = fbm(u * 10, v * 10, 4, 101);
    Colour c = skin * (0.82 + 0.25 * mottled) * rimShade(u, v);
    // Frost creeping in from the corners.
    const double cornerDist = std::min(std::min(std::hypot(u, v), std::hypot(1 - u, v)),
                                       std::min(std::hypot(u, 1 - v), std::hypot(1 - u, 1 - v)));
    const double frostAmt = 1 - smoothstep(0.18, 0.36, cornerDist + 0.15 * (fbm(u * 14, v * 14, 4, 102) - 0.5));
    c = mix(c, frost * (0.9 + 0.1 * fbm(u * 60, v * 60, 2, 103)), frostAmt * 0.85);
    // A crack across the face, from the top left down to the right.
    const double crackPath = 0.10 + 0.75 * u + 0.06 * (fbm(u * 8, 0.3, 3, 104) - 0.5);
    const double crack = std::fabs(v - crackPath) - 0.009 - 0.006 * fbm(u * 20, 0.7, 2, 105);
    // A branch splitting off below the right eye, and a frosted lip along both.
    const double branchPath = 0.62 + 0.5 * (u - 0.62) + 0.04 * (fbm(u * 9, 0.9, 3, 106) - 0.5);
    const double branch = std::max(std::fabs(v - branchPath) - 0.006, 0.62 - u);
    const double cracks = std::min(crack, branch);
    c = mix(c, frost, fill(cracks - 0.012, aa) * 0.6);
    c = mix(c, ink, fill(cracks, aa) * 0.9);
    // Eyes crossed out.
    const double x1 = std::min(segDist(u, v, 0.22, 0.32, 0.42, 0.52), segDist(u, v, 0.42, 0.32, 0.22, 0.52));
    const double x2 = std::min(segDist(u, v, 0.58, 0.32, 0.78, 0.52), segDist(u, v, 0.78, 0.32, 0.58, 0.52));
    c = mix(c, ink, fill(std::min(x1, x2) - 0.032, aa));
    // Mouth: a flat, crooked line.
    const double mouthY = 0.74 + 0.025 * std::sin(u * 40);
    const double mouth = std::max(std::fabs(v - mouthY) - 0.022, std::fabs(u - 0.5) - 0.22);
    c = mix(c, ink, fill(mouth, aa));
    return c;
}

} // namespace

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: texgen <output-folder>\n");
        return 2;
    }
    const std::string dir = argv[1];
    bool ok = writeBMP(paintFace(livingFace), dir + "/cubeface.bmp");
    ok = writeBMP(paintFace(deadFace), dir + "/cubeface2.bmp") && ok;
    ok = writeBMP(wall(), dir + "/wall.bmp") && ok;
    ok = writeBMP(iceGround(), dir + "/iceground.bmp") && ok;
    return ok ? 0 : 1;
}
