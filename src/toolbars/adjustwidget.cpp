// SPDX-License-Identifier: GPL-3.0-or-later
// The Adjustment popup's rows. Control names come from the camera in English; the common ones are
// translated here, others are shown as the camera gives them.
#include "adjustwidget.h"

#include <QCheckBox>
#include <QComboBox>
#include <QCoreApplication>
#include <QGridLayout>
#include <QLabel>
#include <QPushButton>
#include <QSignalBlocker>
#include <QSlider>
#include <QToolButton>
#include <QVBoxLayout>

#include "annotation/popuppanel.h"
#include "controls/roundedoutline.h"

namespace {

// Names and menu entries of UVC cameras, as drivers report them, for the translation files.
const char* const kKnownNames[] = {
    QT_TRANSLATE_NOOP("AdjustWidget", "Brightness"),
    QT_TRANSLATE_NOOP("AdjustWidget", "Contrast"),
    QT_TRANSLATE_NOOP("AdjustWidget", "Saturation"),
    QT_TRANSLATE_NOOP("AdjustWidget", "Hue"),
    QT_TRANSLATE_NOOP("AdjustWidget", "White Balance, Automatic"),
    QT_TRANSLATE_NOOP("AdjustWidget", "White Balance Temperature"),
    QT_TRANSLATE_NOOP("AdjustWidget", "Gamma"),
    QT_TRANSLATE_NOOP("AdjustWidget", "Gain"),
    QT_TRANSLATE_NOOP("AdjustWidget", "Power Line Frequency"),
    QT_TRANSLATE_NOOP("AdjustWidget", "Sharpness"),
    QT_TRANSLATE_NOOP("AdjustWidget", "Backlight Compensation"),
    QT_TRANSLATE_NOOP("AdjustWidget", "Auto Exposure"),
    QT_TRANSLATE_NOOP("AdjustWidget", "Exposure Time, Absolute"),
    QT_TRANSLATE_NOOP("AdjustWidget", "Exposure, Dynamic Framerate"),
    QT_TRANSLATE_NOOP("AdjustWidget", "Focus, Absolute"),
    QT_TRANSLATE_NOOP("AdjustWidget", "Focus, Automatic Continuous"),
    QT_TRANSLATE_NOOP("AdjustWidget", "Zoom, Absolute"),
    QT_TRANSLATE_NOOP("AdjustWidget", "Disabled"),
    QT_TRANSLATE_NOOP("AdjustWidget", "50 Hz"),
    QT_TRANSLATE_NOOP("AdjustWidget", "60 Hz"),
    QT_TRANSLATE_NOOP("AdjustWidget", "Auto"),
    QT_TRANSLATE_NOOP("AdjustWidget", "Manual Mode"),
    QT_TRANSLATE_NOOP("AdjustWidget", "Aperture Priority Mode"),
    QT_TRANSLATE_NOOP("AdjustWidget", "Shutter Priority Mode"),
    QT_TRANSLATE_NOOP("AdjustWidget", "Auto Mode"),
};

QString cameraText(const QString& english) {
    return QCoreApplication::translate("AdjustWidget", english.toUtf8().constData());
}

QToolButton* turnButton(const QString& text, const char* icon, const char* objectName, QWidget* parent) {
    auto* button = new QToolButton(parent);
    button->setObjectName(objectName);
    button->setText(text);
    button->setToolTip(text);
    button->setIcon(QIcon(icon));
    button->setIconSize(QSize(24, 24));
    button->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
    button->setAutoRaise(true);
    button->setMinimumWidth(80);
    return button;
}

}  // namespace

AdjustWidget::AdjustWidget(QWidget* parent) : QWidget(parent) {
    setObjectName("AdjustWidget");
    setAttribute(Qt::WA_TranslucentBackground);
    setFixedWidth(520);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(12, 10, 12, 10);

    auto* turns = new QHBoxLayout;
    const struct {
        QString text;
        const char* icon;
        const char* name;
        void (AdjustWidget::*signal)();
    } buttons[] = {
        {tr("Rotate Left"), ":/image/svg/rotate_left", "toolButton_rotateLeft", &AdjustWidget::rotateLeft},
        {tr("Rotate Right"), ":/image/svg/rotate_right", "toolButton_rotateRight",
         &AdjustWidget::rotateRight},
        {tr("Mirror"), ":/image/svg/mirror", "toolButton_mirror", &AdjustWidget::mirror},
        {tr("Flip"), ":/image/svg/flip", "toolButton_flip", &AdjustWidget::flip},
    };
    for (const auto& b : buttons) {
        QToolButton* button = turnButton(b.text, b.icon, b.name, this);
        connect(button, &QToolButton::clicked, this, b.signal);
        turns->addWidget(button);
    }
    layout->addLayout(turns);
    layout->addWidget(PopupPanel::separator("line_controls", this));

    m_grid = new QGridLayout;
    m_grid->setHorizontalSpacing(10);
    m_grid->setColumnStretch(1, 1);
    layout->addLayout(m_grid);
    m_noControls = new QLabel(tr("This camera offers no picture controls."), this);
    m_noControls->setObjectName("label_noControls");
    m_noControls->setStyleSheet("color: #777777;");
    layout->addWidget(m_noControls);

    layout->addWidget(PopupPanel::separator("line_reset", this));
    auto* reset = new QPushButton(tr("Reset"), this);
    reset->setObjectName("pushButton_reset");
    reset->setToolTip(tr("The camera's own settings, upright and not mirrored"));
    connect(reset, &QPushButton::clicked, this, &AdjustWidget::resetRequested);
    layout->addWidget(reset, 0, Qt::AlignRight);
}

void AdjustWidget::setControls(const std::vector<CameraControl>& controls) {
    m_noControls->setVisible(controls.empty());
    for (const CameraControl& control : controls) {
        if (!m_rows.contains(control.id))
            addRow(control);
        showValue(control, m_rows[control.id]);
    }
    adjustSize();
}

QString AdjustWidget::controlName(unsigned id) const {
    return m_rows.contains(id) ? m_rows[id].label->text() : QString::number(id, 16);
}

bool AdjustWidget::isSwitchOrMenu(unsigned id) const {
    return m_rows.contains(id) && m_rows[id].value == nullptr;
}

void AdjustWidget::addRow(const CameraControl& control) {
    Row row;
    const int line = m_grid->rowCount();
    row.label = new QLabel(cameraText(control.name), this);
    const unsigned id = control.id;
    if (control.type == CameraControl::Boolean) {
        auto* box = new QCheckBox(this);
        connect(box, &QCheckBox::toggled, this, [this, id](bool on) { emit controlChanged(id, on ? 1 : 0); });
        row.editor = box;
    } else if (control.type == CameraControl::Menu) {
        auto* menu = new QComboBox(this);
        for (const auto& entry : control.menu)
            menu->addItem(cameraText(entry.second), qlonglong(entry.first));
        connect(menu, QOverload<int>::of(&QComboBox::activated), this, [this, id, menu](int index) {
            emit controlChanged(id, long(menu->itemData(index).toLongLong()));
        });
        row.editor = menu;
    } else {
        auto* slider = new QSlider(Qt::Horizontal, this);
        slider->setRange(int(control.minimum), int(control.maximum));
        slider->setSingleStep(int(std::max(1L, control.step)));
        slider->setPageStep(int(std::max(1L, (control.maximum - control.minimum) / 10)));
        row.value = new QLabel(this);
        row.value->setMinimumWidth(40);
        row.value->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        QLabel* value = row.value;
        connect(slider, &QSlider::valueChanged, this, [this, id, value](int v) {
            value->setNum(v);
            emit controlChanged(id, v);
        });
        row.editor = slider;
    }
    row.editor->setObjectName(QString("control_%1").arg(id, 0, 16));
    m_grid->addWidget(row.label, line, 0);
    m_grid->addWidget(row.editor, line, 1);
    if (row.value)
        m_grid->addWidget(row.value, line, 2);
    m_rows.insert(id, row);
}

void AdjustWidget::showValue(const CameraControl& control, Row& row) {
    const QSignalBlocker blocker(row.editor);
    if (auto* box = qobject_cast<QCheckBox*>(row.editor))
        box->setChecked(control.value != 0);
    else if (auto* menu = qobject_cast<QComboBox*>(row.editor))
        menu->setCurrentIndex(menu->findData(qlonglong(control.value)));
    else if (auto* slider = qobject_cast<QSlider*>(row.editor))
        slider->setValue(int(control.value));
    if (row.value)
        row.value->setNum(int(control.value));
    // Greyed while another control (an automatic one) is in charge of it.
    for (QWidget* widget : {static_cast<QWidget*>(row.label), row.editor, static_cast<QWidget*>(row.value)})
        if (widget)
            widget->setEnabled(!control.inactive);
}

void AdjustWidget::paintEvent(QPaintEvent*) {
    RoundedOutline::paint(this);
}

void AdjustWidget::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    setMask(RoundedOutline::mask(rect()));
}
