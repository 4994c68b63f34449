// SPDX-License-Identifier: GPL-3.0-or-later
// Debug output of the live view: silent unless asked for, e.g.
// QT_LOGGING_RULES="pagelux.liveview.debug=true".
#pragma once

#include <QLoggingCategory>

Q_DECLARE_LOGGING_CATEGORY(lcLiveView)
