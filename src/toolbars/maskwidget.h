// SPDX-License-Identifier: GPL-3.0-or-later
// The Masking popup: Curtain, or Spotlight with its shape (ellipse or rectangle).
#pragma once

#include <QWidget>

#include "maskkind.h"

class QAbstractButton;

// GUI thread only.
class MaskWidget : public QWidget {
    Q_OBJECT

public:
    explicit MaskWidget(QWidget* parent, MaskKind shown);
    void setChosen(MaskKind kind);  // shows it checked, without a signal

signals:
    void maskChosen(MaskKind kind);

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    QAbstractButton* m_curtain = nullptr;
    QAbstractButton* m_spotlight = nullptr;
    QAbstractButton* m_ellipse = nullptr;
    QAbstractButton* m_rectangle = nullptr;
};
