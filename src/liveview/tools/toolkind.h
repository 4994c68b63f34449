// SPDX-License-Identifier: GPL-3.0-or-later
// The tools of the live view, and the one place that makes them.
#pragma once

#include <memory>

#include "tool.h"

class ToolHost;

enum class ToolKind { None, Move, Pen, Highlighter, Line, Arrow, Rectangle, Ellipse, Eraser, Text, Select };

// Null for ToolKind::None, with which the pointer does nothing.
std::unique_ptr<Tool> makeTool(ToolKind kind, ToolHost& host);

// Freehand strokes, which a change among these tools continues in the new ink.
bool drawsStrokes(ToolKind kind);

// The tool of the pen popup's type: 0 pen, 1 highlighter, 2 line, 3 arrow, 4 rectangle, 5 ellipse;
// other types draw nothing.
ToolKind penToolKind(int toolType);
