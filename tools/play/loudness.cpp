// SPDX-FileCopyrightText: 2026 The Glacimor developers
// SPDX-License-Identifier: GPL-3.0-or-later

// How loud the game was: reads what SDL's disk audio driver wrote of the game's output (raw
// 32-bit float stereo at 48 kHz, as the game opens its device) for the end-to-end sound test.
//
//   glacimor_loudness len FILE               the seconds of sound in FILE
//   glacimor_loudness rms FILE FROM TO       the RMS of FROM..TO seconds, the loudest 50 ms in it and
//                                            the median of its 50 ms (what goes on under what happens)
//   glacimor_loudness onset FILE FROM TO L   the first second from FROM at which 20 ms are louder
//                                            (RMS) than L, or -1 when none is up to TO
// A span beyond the end of the file is read as far as it goes.
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <vector>

namespace {

constexpr double RATE = 48000;

std::vector<float> readAll(const char* path)
{
    std::vector<float> samples;
    std::FILE* in = std::fopen(path, "rb");
    if (!in) {
        std::perror(path);
        std::exit(2);
    }
    float chunk[4096];
    std::size_t n;
    while ((n = std::fread(chunk, sizeof(float), 4096, in)) > 0)
        samples.insert(samples.end(), chunk, chunk + n);
    std::fclose(in);
    return samples;
}

// RMS of both channels over the frames [from, to).
double rms(const std::vector<float>& s, std::size_t from, std::size_t to)
{
    double sum = 0;
    to = std::min(to, s.size() / 2);
    if (from >= to)
        return 0;
    for (std::size_t i = 2 * from; i < 2 * to; ++i)
        sum += static_cast<double>(s[i]) * s[i];
    return std::sqrt(sum / (2.0 * (to - from)));
}

std::size_t frameAt(const char* seconds) { return static_cast<std::size_t>(std::max(0.0, std::atof(seconds)) * RATE); }

} // namespace

int main(int argc, char** argv)
{
    if (argc == 3 && !std::strcmp(argv[1], "len")) {
        std::printf("%.3f\n", readAll(argv[2]).size() / 2 / RATE);
        return 0;
    }
    if (argc == 5 && !std::strcmp(argv[1], "rms")) {
        const std::vector<float> s = readAll(argv[2]);
        const std::size_t from = frameAt(argv[3]), to = frameAt(argv[4]), window = RATE / 20;
        std::vector<double> windows;
        for (std::size_t f = from; f + window <= to; f += window / 2)
            windows.push_back(rms(s, f, f + window));
        std::sort(windows.begin(), windows.end());
        const double loudest = windows.empty() ? 0 : windows.back();
        const double median = windows.empty() ? 0 : windows[windows.size() / 2];
        std::printf("%.6f %.6f %.6f\n", rms(s, from, to), loudest, median);
        return 0;
    }
    if (argc == 6 && !std::strcmp(argv[1], "onset")) {
        const std::vector<float> s = readAll(argv[2]);
        const std::size_t from = frameAt(argv[3]), to = frameAt(argv[4]), window = RATE / 50;
        const double level = std::atof(argv[5]);
        for (std::size_t f = from; f + window <= to && f + window <= s.size() / 2; f += window / 4) {
            if (rms(s, f, f + window) > level) {
                std::printf("%.3f\n", f / RATE);
                return 0;
            }
        }
        std::printf("-1\n");
        return 0;
    }
    std::fprintf(stderr, "usage: glacimor_loudness len FILE | rms FILE FROM TO | onset FILE FROM TO LEVEL\n");
    return 2;
}
