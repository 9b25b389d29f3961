// SPDX-FileCopyrightText: 2026 The Glacimor developers
// SPDX-License-Identifier: GPL-3.0-or-later

// The one drawer of the coloured cube model, shared by every object.
#ifndef GLACIMOR_WORLD_CUBE_H
#define GLACIMOR_WORLD_CUBE_H

class Cube {
public:
    // Binds the texture and draws the model; the current matrix is saved and restored around it.
    void render(unsigned int texture) const;
};

extern Cube cube; // the drawer of the cube model

#endif
