// SPDX-License-Identifier: GPL-3.0-or-later
// The Adjustment popup: turn, mirror and flip the picture, and the camera's own controls as sliders,
// switches and menus built from what the camera reports, with Reset.
#pragma once

#include <QMap>
#include <QWidget>
#include <vector>

#include "camera/camerarecords.h"

class QGridLayout;
class QLabel;

// GUI thread only.
class AdjustWidget : public QWidget {
    Q_OBJECT

public:
    explicit AdjustWidget(QWidget* parent = nullptr);

    // Builds the controls' rows the first time, then only updates values and greyed states (a change of
    // one control may make another active); no signal is emitted for these updates.
    void setControls(const std::vector<CameraControl>& controls);
    // The row's name as shown, and whether it is a switch or menu (which may make other controls
    // active or inactive).
    QString controlName(unsigned id) const;
    bool isSwitchOrMenu(unsigned id) const;

signals:
    void rotateRight();
    void rotateLeft();
    void mirror();
    void flip();
    void controlChanged(unsigned id, long value);  // while a slider moves, too
    void resetRequested();

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    struct Row {
        QLabel* label = nullptr;
        QWidget* editor = nullptr;
        QLabel* value = nullptr;  // integers only
    };
    void addRow(const CameraControl& control);
    void showValue(const CameraControl& control, Row& row);

    QGridLayout* m_grid = nullptr;
    QLabel* m_noControls = nullptr;
    QMap<unsigned, Row> m_rows;
};
