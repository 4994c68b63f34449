// SPDX-License-Identifier: GPL-3.0-or-later
#include "texttool.h"

#include <QFontMetrics>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPainter>

#include "liveview/annotationhistory.h"
#include "liveview/inktiles.h"
#include "liveview/viewport.h"
#include "toolhost.h"

TextTool::~TextTool() {
    cancel();
}

void TextTool::press(QMouseEvent* event) {
    if (m_editor != nullptr)
        commit();
    else if (event->button() == Qt::LeftButton)
        open(event->pos());
}

QCursor TextTool::cursor() const {
    return Qt::IBeamCursor;
}

QFont TextTool::font() const {
    QFont font = m_host.widget()->font();
    // Text height for the pen's thickness (1 to 30).
    font.setPixelSize(12 + 2 * m_host.penSize());
    return font;
}

void TextTool::open(const QPoint& viewPos) {
    const Viewport& viewport = m_host.viewport();
    const QPoint at = viewport.toPicture(viewPos);
    if (m_host.layer().isNull() || !m_host.layer().rect().contains(at))
        return;
    m_at = at;
    m_editor = new QLineEdit(m_host.widget());
    m_editor->setObjectName("textEditor");
    // The editor shows the text as it will be drawn: the zoom's size, the pen's colour.
    QFont shown = font();
    shown.setPixelSize(qMax(1, qRound(shown.pixelSize() * viewport.shownScale())));
    m_editor->setFont(shown);
    m_editor->setStyleSheet(QString("QLineEdit { background: rgba(255, 255, 255, 90); border: 1px dashed "
                                    "#0099FF; padding: 0px; margin: 0px; color: %1; }")
                                .arg(m_host.penColor().name()));
    m_editor->setTextMargins(0, 0, 0, 0);
    const QFontMetrics metrics(shown);
    QLineEdit* editor = m_editor;
    const auto fit = [editor, metrics] {
        editor->resize(metrics.horizontalAdvance(editor->text()) + metrics.height(), metrics.height() + 4);
    };
    fit();
    QObject::connect(editor, &QLineEdit::textChanged, editor, fit);
    QObject::connect(editor, &QLineEdit::returnPressed, editor, [this] { commit(); });
    editor->move(viewport.toView(QRect(m_at, QSize(1, 1))).topLeft() + QPoint(1, 1));
    editor->show();
    editor->setFocus();
}

void TextTool::commit() {
    if (m_editor == nullptr)
        return;
    const QString text = m_editor->text();
    cancel();
    QPixmap& layer = m_host.layer();
    if (text.trimmed().isEmpty() || layer.isNull())
        return;
    const QFont font = this->font();
    const QFontMetrics metrics(font);
    const QPoint baseline = m_at + QPoint(0, metrics.ascent() + 2);
    const QRect area =
        metrics.boundingRect(text).translated(baseline).adjusted(-2, -2, 2, 2).intersected(layer.rect());
    if (area.isEmpty())
        return;
    AnnotationHistory& history = m_host.history();
    history.beginStep();
    history.aboutToChange(layer, area);
    {
        QPainter painter(&layer);
        painter.setRenderHint(QPainter::TextAntialiasing, true);
        painter.setFont(font);
        painter.setPen(m_host.penColor());
        painter.drawText(baseline, text);
    }
    history.endStep();
    m_host.inkTiles().mark(area);
    m_host.stepEnded();
    m_host.layerChanged(area);
}

void TextTool::cancel() {
    if (m_editor == nullptr)
        return;
    QLineEdit* editor = m_editor;
    m_editor = nullptr;
    editor->hide();
    editor->deleteLater();
    m_host.widget()->setFocus();
}
