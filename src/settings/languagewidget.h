// SPDX-License-Identifier: GPL-3.0-or-later
// The language chooser: English, Simplified Chinese and Russian, chosen on the press of an entry.
#pragma once

#include <QString>
#include <QWidget>

class QToolButton;

namespace Ui {
class LanguageWidget;
}

class LanguageWidget : public QWidget {
    Q_OBJECT

public:
    explicit LanguageWidget(QWidget* parent = nullptr);
    ~LanguageWidget() override;

signals:
    // type is "en", "zh_CN" or "ru".
    void signalSwitchLanguage(QString type);

public slots:
    void onBtnChineseClicked();
    void onBtnEnglishClicked();

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    friend class TestLanguage;

    Ui::LanguageWidget* ui;
    QToolButton* btn_en = nullptr;
    QToolButton* btn_cn = nullptr;
    QToolButton* btn_ru = nullptr;
};
