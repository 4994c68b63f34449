// SPDX-License-Identifier: GPL-3.0-or-later
#include "controlslog.h"

Q_LOGGING_CATEGORY(lcControls, "pagelux.controls", QtInfoMsg)
