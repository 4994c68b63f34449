// SPDX-License-Identifier: GPL-3.0-or-later
// A new tool is one class and one line here.
#include "toolkind.h"

#include <iterator>

#include "arrowtool.h"
#include "ellipsetool.h"
#include "erasertool.h"
#include "highlightertool.h"
#include "linetool.h"
#include "movetool.h"
#include "pentool.h"
#include "rectangletool.h"
#include "selecttool.h"
#include "texttool.h"

std::unique_ptr<Tool> makeTool(ToolKind kind, ToolHost& host) {
    switch (kind) {
        case ToolKind::None:
            return nullptr;
        case ToolKind::Move:
            return std::make_unique<MoveTool>(host);
        case ToolKind::Pen:
            return std::make_unique<PenTool>(host);
        case ToolKind::Highlighter:
            return std::make_unique<HighlighterTool>(host);
        case ToolKind::Line:
            return std::make_unique<LineTool>(host);
        case ToolKind::Arrow:
            return std::make_unique<ArrowTool>(host);
        case ToolKind::Rectangle:
            return std::make_unique<RectangleTool>(host);
        case ToolKind::Ellipse:
            return std::make_unique<EllipseTool>(host);
        case ToolKind::Eraser:
            return std::make_unique<EraserTool>(host);
        case ToolKind::Text:
            return std::make_unique<TextTool>(host);
        case ToolKind::Select:
            return std::make_unique<SelectTool>(host);
    }
    return nullptr;
}

ToolKind penToolKind(int toolType) {
    const ToolKind kinds[] = {ToolKind::Pen,   ToolKind::Highlighter, ToolKind::Line,
                              ToolKind::Arrow, ToolKind::Rectangle,   ToolKind::Ellipse};
    return toolType >= 0 && toolType < int(std::size(kinds)) ? kinds[toolType] : ToolKind::None;
}

bool drawsStrokes(ToolKind kind) {
    return kind == ToolKind::Pen || kind == ToolKind::Highlighter || kind == ToolKind::Eraser;
}
