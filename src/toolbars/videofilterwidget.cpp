// SPDX-License-Identifier: GPL-3.0-or-later
// The Video Filters popup: one checkable button a look.
#include "videofilterwidget.h"

#include <QButtonGroup>
#include <QPushButton>
#include <QSignalBlocker>
#include <QVBoxLayout>

#include "controls/roundedoutline.h"

VideoFilterWidget::VideoFilterWidget(QWidget* parent, int look) : QWidget(parent) {
    setObjectName("VideoFilterWidget");
    setAttribute(Qt::WA_TranslucentBackground);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(10, 10, 10, 10);
    layout->setSpacing(4);
    m_looks = new QButtonGroup(this);
    m_looks->setExclusive(true);
    const struct {
        QString text;
        const char* name;
    } looks[] = {{tr("Colour"), "pushButton_colour"},
                 {tr("Grey"), "pushButton_grey"},
                 {tr("Document"), "pushButton_document"},
                 {tr("Black and White"), "pushButton_blackWhite"}};
    int id = 0;
    for (const auto& entry : looks) {
        auto* button = new QPushButton(entry.text, this);
        button->setObjectName(entry.name);
        button->setCheckable(true);
        button->setMinimumSize(160, 34);
        button->setStyleSheet(
            "QPushButton { border: none; border-radius: 4px; background: #F3F3F3; color: #333333; }"
            "QPushButton:checked { background: #0099FF; color: white; }");
        m_looks->addButton(button, id++);
        layout->addWidget(button);
    }
    setLook(look);
    connect(m_looks, &QButtonGroup::idClicked, this, &VideoFilterWidget::lookChosen);
}

void VideoFilterWidget::setLook(int look) {
    const QSignalBlocker blocker(m_looks);
    if (QAbstractButton* button = m_looks->button(look))
        button->setChecked(true);
}

void VideoFilterWidget::paintEvent(QPaintEvent*) {
    RoundedOutline::paint(this);
}

void VideoFilterWidget::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    setMask(RoundedOutline::mask(rect()));
}
