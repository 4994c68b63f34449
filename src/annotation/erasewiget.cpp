// SPDX-License-Identifier: GPL-3.0-or-later
// The eraser popup: size slider, point eraser and Clear All, and the report of its starting choice.
#include "erasewiget.h"

#include <QButtonGroup>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QSlider>
#include <QTimer>
#include <QToolButton>
#include <QVBoxLayout>

#include "controls/custombutton.h"
#include "controls/roundedoutline.h"
#include "controls/windowplatform.h"
#include "popuppanel.h"
#include "ui_erasewiget.h"

namespace {

constexpr int kMinSize = 1;
constexpr int kMaxSize = 10;
constexpr int kPointEraser = 0;
constexpr int kClearAll = 2;

// An eraser button with its caption underneath, both centred in their column.
QVBoxLayout* eraserColumn(QToolButton* button, const QString& icon, const QString& pressedIcon,
                          QLabel* caption) {
    CustomButton::setToolButton(button, icon, pressedIcon, "", "", 40, 40, 30, 30, 0, 1);
    CustomButton::setLabel(caption, "#FF000000", true);
    auto* column = new QVBoxLayout;
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(0);
    column->addWidget(button, 0, Qt::AlignCenter);
    column->addWidget(caption, 0, Qt::AlignCenter);
    return column;
}

}  // namespace

EraseWiget::EraseWiget(QWidget* parent, int eraserSize) : QWidget(parent), ui(new Ui::EraseWiget) {
    ui->setupUi(this);
    setStyleSheet("QWidget {background-color: white;border:none;border-radius: 5px;}");
    // The box, the slider and every report agree on one size, also for a size outside the range.
    m_nEraserSize = qBound(kMinSize, eraserSize, kMaxSize);
    setWindowFlags(WindowPlatform::besideButton(Qt::Tool | Qt::FramelessWindowHint));
    setAttribute(Qt::WA_TranslucentBackground, false);
    setFixedSize(196, 140);
    applyRoundedMask();
    initUI();
    // Opening switches the canvas to the point eraser: reported from the event loop, once the
    // opener has connected and shown the popup.
    QTimer::singleShot(0, this, [this]() { emit signalEraseChanged(kPointEraser, m_nEraserSize); });
}

EraseWiget::~EraseWiget() {
    delete ui;
}

void EraseWiget::initUI() {
    auto* erasePageLayout = new QVBoxLayout(this);
    erasePageLayout->setContentsMargins(5, 10, 5, 10);
    erasePageLayout->setSpacing(5);

    auto* label_erase = new QLabel(tr("Eraser"), this);
    CustomButton::setLabel(label_erase, "#FF000000", true);
    erasePageLayout->addWidget(label_erase, 0, Qt::AlignTop);
    erasePageLayout->addWidget(PopupPanel::separator("horizontalLine_top", this));

    auto* slidereraseLayout = new QHBoxLayout;
    slidereraseLayout->setContentsMargins(10, 0, 10, 0);
    slidereraseLayout->setSpacing(0);
    editerase = PopupPanel::sizeBox(m_nEraserSize, this);
    slider_erase = new QSlider(Qt::Horizontal, this);
    CustomButton::setSlider(slider_erase, kMinSize, kMaxSize, 1, 120);
    slider_erase->setValue(m_nEraserSize);
    slidereraseLayout->addWidget(editerase, 0, Qt::AlignLeft);
    slidereraseLayout->addWidget(slider_erase, 0, Qt::AlignLeft);
    erasePageLayout->addLayout(slidereraseLayout);
    erasePageLayout->addWidget(PopupPanel::separator("horizontalLine_bottom", this));

    auto* toolButton_clickease = new QToolButton(this);
    toolButton_clickease->setObjectName("toolButton_clickease");
    auto* toolButton_clearallease = new QToolButton(this);
    toolButton_clearallease->setObjectName("toolButton_clearallease");
    auto* eraseButtonLayout = new QHBoxLayout;
    eraseButtonLayout->setContentsMargins(0, 0, 0, 0);
    eraseButtonLayout->setSpacing(0);
    eraseButtonLayout->addLayout(eraserColumn(toolButton_clickease, ":/image/svg/erase",
                                              ":/image/svg/erase_press",
                                              new QLabel(tr("Point Eraser"), this)));
    eraseButtonLayout->addLayout(eraserColumn(toolButton_clearallease, ":/image/svg/clearAll",
                                              ":/image/svg/clearAll_press",
                                              new QLabel(tr("Clear All"), this)));
    erasePageLayout->addLayout(eraseButtonLayout);
    erasePageLayout->addStretch();

    auto* eraseGroup = new QButtonGroup(this);
    eraseGroup->setExclusive(true);
    toolButton_clickease->setCheckable(true);
    toolButton_clearallease->setCheckable(true);
    eraseGroup->addButton(toolButton_clickease, 0);
    eraseGroup->addButton(toolButton_clearallease, 1);
    toolButton_clickease->setChecked(true);

    connect(slider_erase, &QSlider::valueChanged, this, [this](int value) {
        editerase->setText(QString::number(value));
        m_nEraserSize = value;
        emit signalEraseChanged(kPointEraser, m_nEraserSize);
    });
    connect(eraseGroup, &QButtonGroup::idClicked, this, [this](int id) {
        if (id == 0)
            emit signalEraseChanged(kPointEraser, m_nEraserSize);
        if (id == 1)
            emit signalEraseChanged(kClearAll, m_nEraserSize);
    });
}

void EraseWiget::applyRoundedMask() {
    setMask(RoundedOutline::mask(rect()));
}

void EraseWiget::paintEvent(QPaintEvent* /*event*/) {
    RoundedOutline::paint(this);
}

void EraseWiget::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    applyRoundedMask();
}
