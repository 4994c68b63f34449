// SPDX-License-Identifier: GPL-3.0-or-later
// Move: a drag pans the picture, without limit; the view shows black where it leaves the view.
#pragma once

#include "tool.h"

class ToolHost;

class MoveTool : public Tool {
public:
    explicit MoveTool(ToolHost& host) : m_host(host) {}
    void press(QMouseEvent* event) override;
    void move(QMouseEvent* event) override;
    void release(QMouseEvent* event) override;
    bool busy() const override;
    void cancel() override;
    QCursor cursor() const override;
    bool marksPicture() const override { return false; }

private:
    ToolHost& m_host;
};
