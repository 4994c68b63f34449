// SPDX-License-Identifier: GPL-3.0-or-later
// Diagnostics of the settings: warnings show, debug lines only when asked for, e.g.
// QT_LOGGING_RULES="pagelux.settings.debug=true".
#pragma once

#include <QLoggingCategory>

Q_DECLARE_LOGGING_CATEGORY(lcSettings)
