// SPDX-License-Identifier: GPL-3.0-or-later
#include "liveviewlog.h"

Q_LOGGING_CATEGORY(lcLiveView, "pagelux.liveview", QtInfoMsg)
