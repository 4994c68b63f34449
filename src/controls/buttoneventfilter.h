// SPDX-License-Identifier: GPL-3.0-or-later
// Swaps a tool button's icon to a hover icon while the mouse is over it.
#pragma once

#include <QObject>
#include <QString>

class ButtonEventFilter : public QObject {
    Q_OBJECT

public:
    // The filter is a child of the button it watches and goes with it.
    ButtonEventFilter(const QString& normalIcon, const QString& hoverIcon, QObject* parent);
    ~ButtonEventFilter() override;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QString m_normalIcon;
    QString m_hoverIcon;
};
