// SPDX-License-Identifier: GPL-3.0-or-later
// The about panel: the application's icon, name, version and rights line.
#include "aboutwidget.h"

#include <QFrame>
#include <QHBoxLayout>
#include <QLabel>
#include <QPixmap>
#include <QVBoxLayout>

#include "controls/windowplatform.h"
#include "ui_aboutwidget.h"

namespace {

QFrame* separatorLine(QWidget* parent) {
    auto* line = new QFrame(parent);
    line->setFrameShape(QFrame::HLine);
    line->setFrameShadow(QFrame::Sunken);
    line->setStyleSheet("QFrame { color: #e0e0e0; }");
    line->setFixedHeight(3);
    return line;
}

}  // namespace

AboutWidget::AboutWidget(QWidget* parent) : QWidget(parent), ui(new Ui::AboutWidget) {
    ui->setupUi(this);
    setWindowTitle(tr("About"));
    setFixedSize(400, 250);
    setWindowFlags(WindowPlatform::besideButton(Qt::Tool | Qt::FramelessWindowHint));
    // A window of its own over the menu, whose window has an alpha channel: this one has none and
    // fills its background itself. A window with alpha and nothing painted beneath the texts shows
    // as a black box where no compositor blends it.
    setAttribute(Qt::WA_TranslucentBackground, false);
    setAutoFillBackground(true);

    auto* mainLayout = new QVBoxLayout(this);
    mainLayout->setContentsMargins(10, 10, 10, 10);
    mainLayout->setSpacing(10);
    mainLayout->setAlignment(Qt::AlignTop);

    // The caption stays English in every language; the texts below it follow the translation.
    auto* aboutLayout = new QHBoxLayout;
    aboutLayout->setContentsMargins(10, 0, 10, 5);
    aboutLayout->setSpacing(0);
    auto* label_dev = new QLabel("About", this);
    label_dev->setStyleSheet("QLabel { color: #000000; border:none; }");
    QFont captionFont = label_dev->font();
    captionFont.setPixelSize(11);
    label_dev->setFont(captionFont);
    aboutLayout->addWidget(label_dev, 0, Qt::AlignLeft);
    mainLayout->addLayout(aboutLayout);

    mainLayout->addWidget(separatorLine(this));

    auto* headerLayout = new QHBoxLayout;
    headerLayout->setSpacing(10);
    headerLayout->setAlignment(Qt::AlignCenter);
    iconLabel = new QLabel(this);
    iconLabel->setPixmap(
        QPixmap(":/image/svg/Pagelux.svg").scaled(64, 64, Qt::KeepAspectRatio, Qt::FastTransformation));
    iconLabel->setAlignment(Qt::AlignCenter);
    headerLayout->addWidget(iconLabel);
    auto* titleLayout = new QVBoxLayout;
    titleLayout->setSpacing(2);
    titleLabel = new QLabel(tr("Pagelux"), this);
    QFont titleFont = titleLabel->font();
    titleFont.setPointSize(18);
    titleLabel->setFont(titleFont);
    titleLayout->addWidget(titleLabel);
    headerLayout->addLayout(titleLayout);
    mainLayout->addLayout(headerLayout);

    mainLayout->addWidget(separatorLine(this));

    auto* infoLayout = new QVBoxLayout;
    infoLayout->setAlignment(Qt::AlignCenter);
    versionLabel = new QLabel(tr("Current Version: V1.0.0"), this);
    QFont versionFont = versionLabel->font();
    versionFont.setBold(true);
    versionLabel->setFont(versionFont);
    infoLayout->addWidget(versionLabel);
    mainLayout->addLayout(infoLayout);

    rightsLabel = new QLabel(tr("Copyright © 2026 the Pagelux developers. All rights reserved."), this);
    rightsLabel->setAlignment(Qt::AlignCenter);
    rightsLabel->setStyleSheet("color: #888; font-size: 10px;");
    mainLayout->addWidget(rightsLabel);
}

AboutWidget::~AboutWidget() {
    delete ui;
}
