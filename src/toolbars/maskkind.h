// SPDX-License-Identifier: GPL-3.0-or-later
// What covers the picture while Masking is on: nothing, a curtain, or a spotlight of either shape.
#pragma once

enum class MaskKind { None, Curtain, EllipseSpotlight, RectangleSpotlight };
