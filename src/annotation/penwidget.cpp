// SPDX-License-Identifier: GPL-3.0-or-later
// The pen popup: swatches, custom colour dialog, thickness slider and their reports.
#include "penwidget.h"

#include <QButtonGroup>
#include <QColorDialog>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMap>
#include <QPointer>
#include <QSlider>
#include <QStackedLayout>
#include <QVBoxLayout>
#include <cstdio>

#include "controls/custombutton.h"
#include "controls/popupmanager.h"
#include "controls/roundedoutline.h"
#include "controls/vtoolbutton.h"
#include "controls/windowplatform.h"
#include "popuppanel.h"
#include "ui_penwidget.h"

namespace {

constexpr int kMinSize = 1;
constexpr int kMaxSize = 30;

struct Swatch {
    const char* objectName;
    const char* painted;
    const char* selects;
};

// Purple is painted darker than the colour it selects.
const Swatch kSwatches[] = {
    {"colorBlackButton", "#000000", "#000000"},  {"colorWhiteButton", "#FFFFFF", "#FFFFFF"},
    {"colorRedButton", "#FF0000", "#FF0000"},    {"colorYellowButton", "#FEFB52", "#FEFB52"},
    {"colorGreenButton", "#00FF00", "#00FF00"},  {"colorBlueButton", "#0000FF", "#0000FF"},
    {"colorPurpleButton", "#800080", "#ff00ff"},
};

QString buttonStyle(const QString& color) {
    return QString(
               "VToolButton { background-color: %1; border: 1px solid gray; border-radius: 12px; }"
               "VToolButton:checked { border: 1px solid #0000ff; }")
        .arg(color);
}

}  // namespace

PenWidget::PenWidget(QWidget* parent, int penSize, QColor penColor) : QWidget(parent), ui(new Ui::PenWidget) {
    ui->setupUi(this);
    setStyleSheet("QWidget {background-color: white;border:none;border-radius: 5px;}");
    setWindowFlags(WindowPlatform::besideButton(Qt::Tool | Qt::FramelessWindowHint));
    setAttribute(Qt::WA_TranslucentBackground, false);
    setFixedSize(264, 140);

    // The box, the slider and every report agree on one size, also for a size outside the range.
    currentSize = qBound(kMinSize, penSize, kMaxSize);
    currentColor = penColor;
    currentToolType = 0;
    printf("***************************Pen Widget currentColor:%s\n",
           currentColor.name().toUtf8().constData());

    initUI();
    initConnect();
}

PenWidget::~PenWidget() {
    delete ui;
}

void PenWidget::initUI() {
    auto* mainLayout = new QVBoxLayout(this);
    mainLayout->setContentsMargins(0, 0, 0, 0);
    mainLayout->setSpacing(0);

    auto* stackedWidget = new QWidget(this);
    stackedWidget->setStyleSheet("border: none;");
    auto* stackedLayout = new QStackedLayout(stackedWidget);
    stackedLayout->setContentsMargins(0, 0, 0, 0);
    auto* brushPage = new QWidget(stackedWidget);
    brushPage->setStyleSheet("border: none;");
    auto* brushPageLayout = new QVBoxLayout(brushPage);
    brushPageLayout->setContentsMargins(0, 0, 0, 0);
    brushLayout = new QVBoxLayout;
    brushLayout->setContentsMargins(0, 0, 0, 0);
    brushLayout->setSpacing(0);
    brushPageLayout->addLayout(brushLayout);
    stackedLayout->addWidget(brushPage);
    stackedLayout->setCurrentIndex(0);
    initUI_brush();

    auto* buttonLayout = new QHBoxLayout;
    buttonLayout->setContentsMargins(5, 0, 0, 0);
    buttonLayout->setSpacing(0);
    auto* toolButton_brush = new QToolButton(this);
    toolButton_brush->setCheckable(true);
    toolButton_brush->setChecked(true);
    CustomButton::setToolButton(toolButton_brush, ":/image/svg/annotation", ":/image/svg/annotation_press",
                                "", "", 40, 40, 30, 30, 0, 1);
    buttonLayout->addWidget(toolButton_brush, 0, Qt::AlignLeft | Qt::AlignVCenter);
    buttonLayout->addSpacing(5);
    buttonLayout->addStretch();
    m_toolRow = buttonLayout;
    m_penButton = toolButton_brush;

    mainLayout->addWidget(stackedWidget);
    mainLayout->addStretch();
    mainLayout->addLayout(buttonLayout);
    mainLayout->addStretch();
}

void PenWidget::initUI_brush() {
    QWidget* page = brushLayout->parentWidget();
    m_title = new QLabel(tr("Smooth Pen"), page);
    m_title->setObjectName("label_title");
    CustomButton::setLabel(m_title, "#FF000000", true);
    brushLayout->addWidget(m_title);
    brushLayout->addWidget(PopupPanel::separator("horizontalLine_top", page));

    auto* colorLayout = new QHBoxLayout;
    colorLayout->setContentsMargins(5, 5, 5, 5);
    colorLayout->setSpacing(5);
    colorGroup = new QButtonGroup(this);
    colorGroup->setExclusive(true);
    QMap<QString, VToolButton*> presetColorMap;
    for (const Swatch& swatch : kSwatches) {
        auto* button = new VToolButton(page);
        button->setObjectName(swatch.objectName);
        button->setFixedSize(24, 24);
        button->setCheckable(true);
        button->setStyleSheet(buttonStyle(swatch.painted));
        button->setData(Qt::UserRole, QString(swatch.selects));
        colorGroup->addButton(button);
        colorLayout->addWidget(button, 0, Qt::AlignLeft);
        presetColorMap.insert(QString(swatch.painted).toLower(), button);
    }
    toolButton_add = new VToolButton(page);
    toolButton_add->setObjectName("colorCustomButton");
    toolButton_add->setFixedSize(24, 24);
    toolButton_add->setCheckable(true);
    colorGroup->addButton(toolButton_add);
    colorLayout->addWidget(toolButton_add, 0, Qt::AlignLeft);
    brushLayout->addLayout(colorLayout);

    const QString currentHex = currentColor.name().toLower();
    VToolButton* matchedButton = presetColorMap.value(currentHex, nullptr);
    if (matchedButton != nullptr) {
        matchedButton->setChecked(true);
        CustomButton::setToolButton(toolButton_add, ":/image/svg/addColor", "", "", "", 24, 24, 24, 24, 0, 1);
    } else {
        showCustomColor(currentColor);
        toolButton_add->setChecked(true);
    }

    auto* brushSizeLayout = new QHBoxLayout;
    brushSizeLayout->setContentsMargins(5, 5, 5, 5);
    brushSizeLayout->setSpacing(5);
    auto* label_size = new QLabel(tr("thickness"), page);
    CustomButton::setLabel(label_size, "#FF000000", true);
    edit_size = PopupPanel::sizeBox(currentSize, page);
    slider_brush = new QSlider(Qt::Horizontal, page);
    CustomButton::setSlider(slider_brush, kMinSize, kMaxSize, 1, 140);
    slider_brush->setValue(currentSize);
    connect(slider_brush, &QSlider::valueChanged, this, [this](int value) {
        edit_size->setText(QString::number(value));
        reportSize(value);
    });
    brushSizeLayout->addWidget(label_size, 0, Qt::AlignLeft);
    brushSizeLayout->addWidget(edit_size, 0, Qt::AlignLeft);
    brushSizeLayout->addWidget(slider_brush, 0, Qt::AlignLeft);
    brushSizeLayout->addStretch();
    brushLayout->addLayout(brushSizeLayout);
    brushLayout->addWidget(PopupPanel::separator("horizontalLine_bottom", page));
}

void PenWidget::initConnect() {
    connect(colorGroup, QOverload<QAbstractButton*>::of(&QButtonGroup::buttonClicked), this,
            &PenWidget::onColorSelected);
    // Connected before the group's own report, so the dialog has closed when the swatch is selected.
    connect(toolButton_add, &QToolButton::clicked, this, &PenWidget::chooseCustomColor);
    connect(slider_brush, &QSlider::valueChanged, this, [this](int value) {
        puts("****************************************brush");
        reportSize(value);
    });
}

void PenWidget::reportSize(int value) {
    currentSize = value;
    emit signalToolChanged(currentToolType, currentColor, value);
}

void PenWidget::showShapeTools(int toolType) {
    if (m_toolGroup != nullptr)
        return;
    struct Tool {
        const char* objectName;
        const char* icon;
        const char* checkedIcon;
        const char* tip;
    };
    static const Tool kTools[] = {
        {"toolButton_highlighter", ":/image/svg/highlighter", ":/image/svg/highlighter_press",
         QT_TR_NOOP("Highlighter")},
        {"toolButton_line", ":/image/svg/shapeline", ":/image/svg/shapeline_press", QT_TR_NOOP("Line")},
        {"toolButton_arrow", ":/image/svg/shapearrow", ":/image/svg/shapearrow_press", QT_TR_NOOP("Arrow")},
        {"toolButton_rectangle", ":/image/svg/shaperectangle", ":/image/svg/shaperectangle_press",
         QT_TR_NOOP("Rectangle")},
        {"toolButton_ellipse", ":/image/svg/shapeellipse", ":/image/svg/shapeellipse_press",
         QT_TR_NOOP("Ellipse")},
    };
    m_toolGroup = new QButtonGroup(this);
    m_toolGroup->setExclusive(true);
    m_penButton->setObjectName("toolButton_brush");
    m_penButton->setToolTip(tr("Pen"));
    m_toolGroup->addButton(m_penButton, 0);
    int type = 1;
    for (const Tool& tool : kTools) {
        auto* button = new QToolButton(this);
        button->setObjectName(tool.objectName);
        button->setCheckable(true);
        button->setToolTip(tr(tool.tip));
        CustomButton::setToolButton(button, tool.icon, tool.checkedIcon, "", "", 40, 40, 30, 30, 0, 1);
        // Before the stretch that ends the row.
        m_toolRow->insertWidget(m_toolRow->count() - 2, button, 0, Qt::AlignLeft | Qt::AlignVCenter);
        m_toolGroup->addButton(button, type++);
    }
    currentToolType = qBound(0, toolType, type - 1);
    m_toolGroup->button(currentToolType)->setChecked(true);
    showToolTitle();
    connect(m_toolGroup, QOverload<int>::of(&QButtonGroup::idClicked), this, [this](int chosen) {
        currentToolType = chosen;
        showToolTitle();
        emit signalToolChanged(currentToolType, currentColor, currentSize);
    });
}

// The pen keeps its own title; another tool is named as its button's tip names it.
void PenWidget::showToolTitle() {
    m_title->setText(currentToolType == 0 ? tr("Smooth Pen")
                                          : m_toolGroup->button(currentToolType)->toolTip());
}

void PenWidget::showCustomColor(const QColor& color) {
    toolButton_add->setIcon(QIcon());
    toolButton_add->setStyleSheet(buttonStyle(color.name()));
    toolButton_add->setData(Qt::UserRole, color.name());
}

void PenWidget::chooseCustomColor() {
    // Presses inside the dialog must not close the popup behind it.
    PopupManager::instance()->unregisterPopup(this);
    QPointer<QColorDialog> dialog = new QColorDialog(this);
    dialog->setOption(QColorDialog::DontUseNativeDialog, true);
    const int result = dialog->exec();
    // The popup and with it the dialog may have been destroyed while the dialog ran.
    if (dialog.isNull())
        return;
    if (result == QDialog::Accepted) {
        selectColor = dialog->currentColor();
        currentColor = selectColor;
        printf("**************selectColr=%s\n", selectColor.name().toUtf8().constData());
        if (selectColor.isValid()) {
            showCustomColor(selectColor);
            emit signalToolChanged(currentToolType, currentColor, currentSize);
        }
    }
    delete dialog;
    PopupManager::instance()->registerPopup(this);
}

void PenWidget::onColorSelected(QAbstractButton* button) {
    auto* swatch = qobject_cast<VToolButton*>(button);
    if (swatch == nullptr)
        return;
    const QColor chosen(swatch->data(Qt::UserRole).toString());
    if (!chosen.isValid()) {
        // The custom swatch before any custom colour: the pen keeps its colour, and the check goes
        // back to the swatch that selects it.
        for (QAbstractButton* other : colorGroup->buttons()) {
            auto* candidate = qobject_cast<VToolButton*>(other);
            if (QColor(candidate->data(Qt::UserRole).toString()) == currentColor)
                candidate->setChecked(true);
        }
        return;
    }
    currentColor = chosen;
    emit signalToolChanged(currentToolType, currentColor, currentSize);
}

void PenWidget::paintEvent(QPaintEvent* /*event*/) {
    RoundedOutline::paint(this);
}

void PenWidget::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    setMask(RoundedOutline::mask(rect()));
}
