// SPDX-FileCopyrightText: 2026 The Glacimor developers
// SPDX-License-Identifier: GPL-3.0-or-later

// The settings' definitions and their restore, both from the one table of settings.h.
// All are constant-initialised, so they hold before any world object is built.
#include "core/settings.h"

#define GLACIMOR_DEFINE_SETTING(type, name, value, ...) type name = value;
GLACIMOR_SETTINGS(GLACIMOR_DEFINE_SETTING, GLACIMOR_DEFINE_SETTING)

void restoreDefaultSettings()
{
#define GLACIMOR_RESTORE_SETTING(type, name, value, ...) name = value;
    GLACIMOR_SETTINGS(GLACIMOR_RESTORE_SETTING, GLACIMOR_RESTORE_SETTING)
}
