// SPDX-License-Identifier: GPL-3.0-or-later
// The main menu popup: About, the language entry and Exit.
#pragma once

#include <QPoint>
#include <QRect>
#include <QSize>
#include <QString>
#include <QWidget>

class QToolButton;

namespace Ui {
class CSelectMenu;
}

class CSelectMenu : public QWidget {
    Q_OBJECT

public:
    explicit CSelectMenu(QWidget* parent = nullptr);
    ~CSelectMenu() override;

    // Where the language chooser opens: right of the entry with bottom edges aligned, else left of
    // it, 7 pixels away, and pushed inside the available area vertically.
    static QPoint chooserPosition(const QPoint& entryTopLeft, const QSize& entrySize,
                                  const QSize& chooserSize, const QRect& available);

signals:
    void closeAll();
    void signalSwitchLanguage(QString type);

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    friend class TestLanguage;

    void initUI();
    void openAbout();
    void openLanguageChooser();

    Ui::CSelectMenu* ui;
    QToolButton* toolButton_english = nullptr;
};
