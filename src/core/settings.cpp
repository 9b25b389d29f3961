// Defaults of the settings, in one table: the definitions and the restore both read it.
// All are constant-initialised, so they hold before any world object is built.
#include "core/settings.h"

#define GLACIMOR_SETTING_DEFAULTS(X) \
    X(bool, set_shading, true)       \
    X(bool, set_filtering, true)     \
    X(bool, set_mipmap, true)        \
    X(bool, set_aniso, true)         \
    X(bool, set_fpscounter, true)    \
    X(bool, set_culling, true)       \
    X(bool, set_alpha, true)         \
    X(double, set_spawntime, 2000.0) \
    X(double, set_spawnscale, 0.995) \
    X(bool, set_fullscreen, true)    \
    X(bool, set_vsync, false)        \
    X(bool, set_wireframe, false)    \
    X(bool, set_god, false)          \
    X(bool, set_endgame, false)      \
    X(double, set_score, 0.0)

#define GLACIMOR_DEFINE_SETTING(type, name, value) type name = value;
GLACIMOR_SETTING_DEFAULTS(GLACIMOR_DEFINE_SETTING)

void restoreDefaultSettings()
{
#define GLACIMOR_RESTORE_SETTING(type, name, value) name = value;
    GLACIMOR_SETTING_DEFAULTS(GLACIMOR_RESTORE_SETTING)
}
