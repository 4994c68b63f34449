// SPDX-License-Identifier: GPL-3.0-or-later
// The language chooser: English, Simplified Chinese and Russian, chosen on the press of an entry.
#include "languagewidget.h"

#include <QToolButton>
#include <QVBoxLayout>
#include <cstdio>

#include "controls/custombutton.h"
#include "controls/roundedoutline.h"
#include "controls/windowplatform.h"
#include "ui_languagewidget.h"

LanguageWidget::LanguageWidget(QWidget* parent) : QWidget(parent), ui(new Ui::LanguageWidget) {
    ui->setupUi(this);
    setWindowFlags(WindowPlatform::besideButton(Qt::Popup | Qt::FramelessWindowHint));
    // Opaque, unlike the menu it opens from: its white outline is painted on every pass and the mask
    // cuts the corners (see the about panel).
    setAttribute(Qt::WA_TranslucentBackground, false);
    setFixedSize(120, 90);
    setMask(RoundedOutline::mask(rect()));

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    btn_en = new QToolButton(this);
    btn_cn = new QToolButton(this);
    btn_ru = new QToolButton(this);
    // The three 40-pixel entries share the 90-pixel window: each gets a 30-pixel band and the last
    // one is cut off by the bottom edge.
    const struct {
        QToolButton* button;
        QString text;
        const char* code;
        const char* line;
    } entries[] = {{btn_en, tr("English"), "en", "*******************en"},
                   {btn_cn, tr("简体中文"), "zh_CN", "*******************zh"},
                   {btn_ru, tr("Русский"), "ru", "*******************ru"}};
    for (const auto& entry : entries) {
        CustomButton::setToolButton(entry.button, "", "", "", entry.text, 120, 40, 0, 0, 1, 5);
        layout->addWidget(entry.button, 0, Qt::AlignLeft);
        // A choice is made on the press: the same press also closes the menu that opened the chooser.
        const QString code = entry.code;
        const char* line = entry.line;
        connect(entry.button, &QToolButton::pressed, this, [this, code, line] {
            puts(line);
            emit signalSwitchLanguage(code);
        });
    }
}

LanguageWidget::~LanguageWidget() {
    delete ui;
}

void LanguageWidget::onBtnEnglishClicked() {
    printf("***************LanguageWidget::onBtnEnglishClicked start\n");
    emit signalSwitchLanguage("en");
}

void LanguageWidget::onBtnChineseClicked() {
    emit signalSwitchLanguage("zh_CN");
}

void LanguageWidget::paintEvent(QPaintEvent* event) {
    Q_UNUSED(event);
    RoundedOutline::paint(this);
}
