// SPDX-License-Identifier: GPL-3.0-or-later
// The about panel: the application's icon, name, version and rights line.
#pragma once

#include <QWidget>

class QLabel;

namespace Ui {
class AboutWidget;
}

class AboutWidget : public QWidget {
    Q_OBJECT

public:
    explicit AboutWidget(QWidget* parent = nullptr);
    ~AboutWidget() override;

private:
    Ui::AboutWidget* ui;
    QLabel* iconLabel = nullptr;
    QLabel* titleLabel = nullptr;
    QLabel* versionLabel = nullptr;
    QLabel* rightsLabel = nullptr;
};
