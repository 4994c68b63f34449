// SPDX-License-Identifier: GPL-3.0-or-later
#include "settingslog.h"

Q_LOGGING_CATEGORY(lcSettings, "pagelux.settings", QtInfoMsg)
