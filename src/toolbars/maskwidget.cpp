// SPDX-License-Identifier: GPL-3.0-or-later
// The Masking popup: two choices, and the spotlight's shape in a row below them.
#include "maskwidget.h"

#include <QButtonGroup>
#include <QHBoxLayout>
#include <QIcon>
#include <QPushButton>
#include <QSignalBlocker>
#include <QToolButton>
#include <QVBoxLayout>

#include "controls/roundedoutline.h"

namespace {

const char* const kChoiceStyle =
    "QPushButton, QToolButton { border: none; border-radius: 4px; background: #F3F3F3; color: #333333; }"
    "QPushButton:checked, QToolButton:checked { background: #0099FF; color: white; }";

template <class Button>
Button* choice(QWidget* parent, const char* name, QButtonGroup* group) {
    auto* button = new Button(parent);
    button->setObjectName(name);
    button->setCheckable(true);
    button->setStyleSheet(kChoiceStyle);
    group->addButton(button);
    return button;
}

}  // namespace

MaskWidget::MaskWidget(QWidget* parent, MaskKind shown) : QWidget(parent) {
    setObjectName("MaskWidget");
    setAttribute(Qt::WA_TranslucentBackground);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(10, 10, 10, 10);
    layout->setSpacing(4);

    auto* kinds = new QButtonGroup(this);
    m_curtain = choice<QPushButton>(this, "pushButton_curtain", kinds);
    m_curtain->setText(tr("Curtain"));
    m_spotlight = choice<QPushButton>(this, "pushButton_spotlight", kinds);
    m_spotlight->setText(tr("Spotlight"));
    for (QAbstractButton* button : {m_curtain, m_spotlight}) {
        button->setMinimumSize(160, 34);
        layout->addWidget(button);
    }

    auto* shapes = new QButtonGroup(this);
    auto* shapeRow = new QHBoxLayout;
    shapeRow->setSpacing(4);
    m_ellipse = choice<QToolButton>(this, "toolButton_spotEllipse", shapes);
    m_ellipse->setIcon(QIcon(":/image/svg/shapeellipse"));
    m_ellipse->setToolTip(tr("Round spotlight"));
    m_rectangle = choice<QToolButton>(this, "toolButton_spotRectangle", shapes);
    m_rectangle->setIcon(QIcon(":/image/svg/shaperectangle"));
    m_rectangle->setToolTip(tr("Rectangular spotlight"));
    for (QAbstractButton* button : {m_ellipse, m_rectangle}) {
        button->setIconSize(QSize(24, 24));
        button->setMinimumSize(78, 30);
        shapeRow->addWidget(button);
    }
    layout->addLayout(shapeRow);
    m_ellipse->setChecked(true);
    setChosen(shown);

    connect(m_curtain, &QAbstractButton::clicked, this, [this] { emit maskChosen(MaskKind::Curtain); });
    const auto spotlight = [this] {
        m_spotlight->setChecked(true);
        emit maskChosen(m_rectangle->isChecked() ? MaskKind::RectangleSpotlight : MaskKind::EllipseSpotlight);
    };
    for (QAbstractButton* button : {m_spotlight, m_ellipse, m_rectangle})
        connect(button, &QAbstractButton::clicked, this, spotlight);
}

void MaskWidget::setChosen(MaskKind kind) {
    const QSignalBlocker blocker(this);
    if (kind == MaskKind::Curtain)
        m_curtain->setChecked(true);
    if (kind == MaskKind::EllipseSpotlight || kind == MaskKind::RectangleSpotlight) {
        m_spotlight->setChecked(true);
        (kind == MaskKind::RectangleSpotlight ? m_rectangle : m_ellipse)->setChecked(true);
    }
}

void MaskWidget::paintEvent(QPaintEvent*) {
    RoundedOutline::paint(this);
}

void MaskWidget::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    setMask(RoundedOutline::mask(rect()));
}
