// SPDX-FileCopyrightText: 2026 The Glacimor developers
// SPDX-License-Identifier: GPL-3.0-or-later

// A wrong tree for the layer check: core/ reading SDL's clock itself (SDL_GetTicks, named in a comment, is no fault).
unsigned ticks() { return SDL_GetTicks(); }
