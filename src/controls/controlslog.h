// SPDX-License-Identifier: GPL-3.0-or-later
// Diagnostics of the shared controls and the program's process helpers: warnings show, debug lines only
// when asked for, e.g. QT_LOGGING_RULES="pagelux.controls.debug=true".
#pragma once

#include <QLoggingCategory>

Q_DECLARE_LOGGING_CATEGORY(lcControls)
