// SPDX-License-Identifier: GPL-3.0-or-later
// Text: a click on the picture opens an editor there; Enter or a click elsewhere puts its text on the
// layer in the pen's colour, at a size that follows the pen's thickness, as one step of the history.
#pragma once

#include <QLineEdit>
#include <QPoint>
#include <QPointer>

#include "tool.h"

class QFont;
class ToolHost;

class TextTool : public Tool {
public:
    explicit TextTool(ToolHost& host) : m_host(host) {}
    ~TextTool() override;
    void press(QMouseEvent* event) override;
    void move(QMouseEvent*) override {}
    void release(QMouseEvent*) override {}
    bool busy() const override { return m_editor != nullptr; }
    // The text being typed is dropped.
    void cancel() override;
    void leave() override { commit(); }
    QCursor cursor() const override;

private:
    QFont font() const;  // in layer pixels
    void open(const QPoint& viewPos);
    void commit();

    ToolHost& m_host;
    QPointer<QLineEdit> m_editor;  // open while a text is typed
    QPoint m_at;                   // layer position of the editor's top-left corner
};
