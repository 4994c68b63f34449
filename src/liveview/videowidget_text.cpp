// SPDX-License-Identifier: GPL-3.0-or-later
// The main view's text tool: an editor in place over the picture, whose text goes on the annotation
// layer in the pen's colour, at a size that follows the pen's thickness. GUI thread only.
#include <QFontMetrics>
#include <QLineEdit>
#include <QPainter>

#include "videowidget.h"

namespace {

// Text height in layer pixels for the pen's thickness (1 to 30).
int textPixelSize(int penSize) {
    return 12 + 2 * penSize;
}

}  // namespace

void VideoWidget::switchToTextMode() {
    m_textMode = true;
    m_selectMode = false;
    m_movingMode = false;
    m_drawingMode = false;
    m_eraserMode = false;
    setCursor(Qt::IBeamCursor);
}

QFont VideoWidget::textFont() const {
    QFont font = this->font();
    font.setPixelSize(textPixelSize(m_penSize));
    return font;
}

void VideoWidget::openTextEditor(const QPoint& viewPos) {
    const QPoint layerPos = toLayer(viewPos);
    if (m_drawingPixmap.isNull() || !insidePicture(layerPos))
        return;
    m_textAt = layerPos;
    m_textEditor = new QLineEdit(this);
    m_textEditor->setObjectName("textEditor");
    // The editor shows the text as it will be drawn: the zoom's size, the pen's colour.
    QFont font = textFont();
    font.setPixelSize(qMax(1, qRound(font.pixelSize() * shownScale())));
    m_textEditor->setFont(font);
    m_textEditor->setStyleSheet(QString("QLineEdit { background: rgba(255, 255, 255, 90); border: 1px dashed "
                                        "#0099FF; padding: 0px; margin: 0px; color: %1; }")
                                    .arg(m_penColor.name()));
    m_textEditor->setTextMargins(0, 0, 0, 0);
    const QFontMetrics metrics(font);
    const auto fit = [this, metrics] {
        m_textEditor->resize(metrics.horizontalAdvance(m_textEditor->text()) + metrics.height(),
                             metrics.height() + 4);
    };
    fit();
    connect(m_textEditor, &QLineEdit::textChanged, this, fit);
    connect(m_textEditor, &QLineEdit::returnPressed, this, &VideoWidget::commitText);
    m_textEditor->move(layerToView(QRect(m_textAt, QSize(1, 1))).topLeft() + QPoint(1, 1));
    m_textEditor->show();
    m_textEditor->setFocus();
}

void VideoWidget::commitText() {
    if (m_textEditor == nullptr)
        return;
    const QString text = m_textEditor->text();
    closeTextEditor();
    if (text.trimmed().isEmpty() || m_drawingPixmap.isNull())
        return;
    const QFont font = textFont();
    const QFontMetrics metrics(font);
    const QPoint baseline = m_textAt + QPoint(0, metrics.ascent() + 2);
    const QRect area = metrics.boundingRect(text)
                           .translated(baseline)
                           .adjusted(-2, -2, 2, 2)
                           .intersected(m_drawingPixmap.rect());
    if (area.isEmpty())
        return;
    m_history.beginStep();
    m_history.aboutToChange(m_drawingPixmap, area);
    {
        QPainter painter(&m_drawingPixmap);
        painter.setRenderHint(QPainter::TextAntialiasing, true);
        painter.setFont(font);
        painter.setPen(m_penColor);
        painter.drawText(baseline, text);
    }
    m_history.endStep();
    m_inkTiles.mark(area);
    historyChanged();
    update(layerToView(area));
}

void VideoWidget::closeTextEditor() {
    if (m_textEditor == nullptr)
        return;
    QLineEdit* editor = m_textEditor;
    m_textEditor = nullptr;
    editor->hide();
    editor->deleteLater();
    setFocus();
}
