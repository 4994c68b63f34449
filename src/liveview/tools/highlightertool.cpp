// SPDX-License-Identifier: GPL-3.0-or-later
#include "highlightertool.h"

#include "toolhost.h"

namespace {

// The pen's colour at this alpha, this much wider than the pen.
constexpr int kAlpha = 50;
constexpr int kExtraWidth = 10;

}  // namespace

void HighlighterTool::drawSegment(QPixmap& layer, const QPoint& from, const QPoint& to,
                                  const QVector<QRect>& cover) {
    if (!m_band.active())
        m_band.begin(layer, roundPen(m_host.penColor(), width()), kAlpha);
    m_band.addSegment(layer, from, to, cover);
}

int HighlighterTool::width() const {
    return m_host.penSize() + kExtraWidth;
}

// What the stroke drew so far went with the layer; it goes on over the new one.
void HighlighterTool::layerCleared() {
    if (m_band.active())
        m_band.restart(m_host.layer());
}
