// Defaults of the settings. All are constant-initialised, so they hold before any world object is built.
#include "settings.h"

bool set_shading = true;
bool set_filtering = true;
bool set_mipmap = true;
bool set_aniso = true;
bool set_fpscounter = true;
bool set_culling = true;
bool set_alpha = true;
double set_spawntime = 2000.0;
double set_spawnscale = 0.995;
bool set_fullscreen = true;
bool set_vsync = false;
bool set_wireframe = false;
bool set_god = false;
bool set_endgame = false;
double set_score = 0.0;
