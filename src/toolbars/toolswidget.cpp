// SPDX-License-Identifier: GPL-3.0-or-later
// The bottom tool bar: its buttons, groups, popups and relayed signals.
#include "toolswidget.h"

#include <QButtonGroup>
#include <QIcon>
#include <QPainter>
#include <QStringList>
#include <QStyleOption>
#include <cstdio>

#include "adjustwidget.h"
#include "annotation/erasewiget.h"
#include "annotation/penwidget.h"
#include "controls/custombutton.h"
#include "controls/popuptoggle.h"
#include "maskwidget.h"
#include "ui_toolswidget.h"
#include "videofilterwidget.h"

namespace {

// The translatable texts of the buttons, in layout order; the context is the bar's class name.
const char* const kTextKeys[] = {
    QT_TRANSLATE_NOOP("ToolsWidget", "Move"),
    QT_TRANSLATE_NOOP("ToolsWidget", "Select"),
    QT_TRANSLATE_NOOP("ToolsWidget", "Annotation"),
    QT_TRANSLATE_NOOP("ToolsWidget", "Eraser"),
    QT_TRANSLATE_NOOP("ToolsWidget", "Text Tool"),
    QT_TRANSLATE_NOOP("ToolsWidget", "Undo"),
    QT_TRANSLATE_NOOP("ToolsWidget", "Video Fliters"),
    QT_TRANSLATE_NOOP("ToolsWidget", "Masking"),
    QT_TRANSLATE_NOOP("ToolsWidget", "Adjustment"),
    QT_TRANSLATE_NOOP("ToolsWidget", "Freeze"),
    QT_TRANSLATE_NOOP("ToolsWidget", "AF"),
    QT_TRANSLATE_NOOP("ToolsWidget", "Capture"),
    QT_TRANSLATE_NOOP("ToolsWidget", "Record"),
};

QString translated(const char* key) {
    return QCoreApplication::translate("ToolsWidget", key);
}

// The hidden buttons whose tools are built: "Show all tools" shows them, in the bar's order.
const QStringList& landedExtraTools() {
    static const QStringList names{"toolButton_areaselection", "toolButton_texttool", "toolButton_black",
                                   "toolButton_videoFliter",   "toolButton_mark",     "toolButton_adjust",
                                   "toolButton_AFAutoFocus",   "toolButton_record"};
    return names;
}

const int kButtonWidth = 66;

}  // namespace

ToolsWidget::ToolsWidget(QWidget* parent) : QWidget(parent), ui(new Ui::ToolsWidget) {
    for (const char* key : kTextKeys)
        m_buttonInfos.append({nullptr, key});
    ui->setupUi(this);
    ui->verticalLayout->setContentsMargins(0, 0, 0, 0);
    ui->verticalLayout->setSpacing(0);
    ui->horizontalLayout->setContentsMargins(0, 0, 0, 0);
    ui->horizontalLayout->setSpacing(0);
    initUI();
    disableButton();
    initConnect();
    setShowAllTools(false);
}

ToolsWidget::~ToolsWidget() {
    // Popups go first, while the buttons their destroyed handlers uncheck still exist; this also
    // covers popups already closed and waiting for deletion.
    qDeleteAll(findChildren<PenWidget*>(QString(), Qt::FindDirectChildrenOnly));
    qDeleteAll(findChildren<EraseWiget*>(QString(), Qt::FindDirectChildrenOnly));
    qDeleteAll(findChildren<AdjustWidget*>(QString(), Qt::FindDirectChildrenOnly));
    qDeleteAll(findChildren<VideoFilterWidget*>(QString(), Qt::FindDirectChildrenOnly));
    qDeleteAll(findChildren<MaskWidget*>(QString(), Qt::FindDirectChildrenOnly));
    delete ui;
}

void ToolsWidget::initUI() {
    setCursor(Qt::ArrowCursor);

    struct Dress {
        VToolButton* button;
        const char* icon;
        const char* checkedIcon;
    };
    const Dress dresses[] = {
        {ui->toolButton_drag, ":/image/svg/move.svg", ":/image/svg/move_press.svg"},
        {ui->toolButton_areaselection, ":/image/svg/select", ":/image/svg/select_press"},
        {ui->toolButton_pen, ":/image/svg/annotation", ":/image/svg/annotation_press"},
        {ui->toolButton_eraser, ":/image/svg/erase", ":/image/svg/erase_press"},
        {ui->toolButton_texttool, ":/image/svg/texttool", ":/image/svg/texttool_press"},
        {ui->toolButton_black, ":/image/svg/black", ":/image/svg/black_press"},
        {ui->toolButton_videoFliter, ":/image/svg/black", ":/image/svg/black_press"},
        {ui->toolButton_mark, ":/image/svg/block", ":/image/svg/block_press"},
        {ui->toolButton_adjust, ":/image/svg/adjust", ":/image/svg/adjust_press"},
        {ui->toolButton_freeze, ":/image/svg/freeze", ":/image/svg/freeze_press"},
        {ui->toolButton_AFAutoFocus, ":/image/svg/AFAutoFocs", ":/image/svg/AFAutoFocs_press"},
        {ui->toolButton_capture, ":/image/svg/capture", ":/image/svg/capture_press"},
        {ui->toolButton_record, ":/image/svg/record", ":/image/svg/record_press"},
    };
    // The dressing table and the text keys share one order.
    for (int i = 0; i < m_buttonInfos.size(); ++i) {
        m_buttonInfos[i].button = dresses[i].button;
        CustomButton::setToolButton(dresses[i].button, dresses[i].icon, dresses[i].checkedIcon, "",
                                    translated(m_buttonInfos[i].textKey), kButtonWidth, kButtonWidth, 30, 30,
                                    3, 0);
    }

    toolsGroup = new QButtonGroup(this);
    toolsGroup->setExclusive(true);
    for (QToolButton* button : {ui->toolButton_drag, ui->toolButton_areaselection, ui->toolButton_pen,
                                ui->toolButton_eraser, ui->toolButton_texttool})
        toolsGroup->addButton(button);
    m_pictureGroup = new QButtonGroup(this);
    m_pictureGroup->setExclusive(true);
    for (QToolButton* button : {ui->toolButton_videoFliter, ui->toolButton_mark, ui->toolButton_adjust})
        m_pictureGroup->addButton(button);
    // Video Filters or Adjustment chosen in the exclusive group: masking goes off.
    connect(ui->toolButton_mark, &QToolButton::toggled, this, [this](bool checked) {
        if (!checked && m_mask != MaskKind::None)
            setMasking(MaskKind::None);
    });

    ui->toolButton_drag->setChecked(true);
    ui->toolButton_freeze->setCheckable(true);
}

void ToolsWidget::disableButton() {
    for (QToolButton* button : {ui->toolButton_adjust, ui->toolButton_AFAutoFocus, ui->toolButton_black,
                                ui->toolButton_mark, ui->toolButton_record, ui->toolButton_areaselection,
                                ui->toolButton_videoFliter, ui->toolButton_texttool})
        button->hide();
}

void ToolsWidget::setShowAllTools(bool on) {
    m_showAllTools = on;
    // Without the extra tools the pen popup offers the pen alone.
    if (!on && currentToolType != 0) {
        currentToolType = 0;
        emit toolChanged(currentToolType, currentColor, currentSize);
    }
    QString first;
    QString last;
    int shown = 0;
    for (const ButtonInfo& info : m_buttonInfos) {
        QToolButton* button = info.button;
        if (landedExtraTools().contains(button->objectName()))
            button->setVisible(on);
        if (button->isHidden())
            continue;
        ++shown;
        if (first.isEmpty())
            first = button->objectName();
        last = button->objectName();
    }
    setFixedSize(kButtonWidth * shown, kButtonWidth);
    // The outer corners of the bar are those of its first and last shown buttons.
    setStyleSheet(
        QString("ToolsWidget { background-color: #EFEFF0; border: 1px solid #CACACA; border-radius: 5px; }"
                "VToolButton { border: none; border-right: none; background-color: #EFEFF0; margin: 0; "
                "padding: 0; }"
                "VToolButton#%1 { border-top-left-radius: 5px; border-bottom-left-radius: 5px; }"
                "VToolButton#%2, VToolButton#%2:checked { border-top-right-radius: 5px; "
                "border-bottom-right-radius: 5px; }")
            .arg(first, last));
}

void ToolsWidget::initConnect() {
    connect(ui->toolButton_drag, &QToolButton::clicked, this, &ToolsWidget::switchToMovingMode);
    connect(ui->toolButton_pen, &QToolButton::clicked, this, &ToolsWidget::switchToDrawingMode);
    connect(ui->toolButton_areaselection, &QToolButton::clicked, this, &ToolsWidget::switchToSelectMode);
    connect(ui->toolButton_texttool, &QToolButton::clicked, this, &ToolsWidget::switchToTextMode);
    connect(ui->toolButton_black, &QToolButton::clicked, this, [this]() {
        // The checked look shows only during the click.
        ui->toolButton_black->setChecked(false);
        emit undoClicked();
    });
    setUndoEnabled(false);
    connect(ui->toolButton_freeze, &QToolButton::clicked, this,
            [this]() { emit signalFreeze(ui->toolButton_freeze->isChecked()); });
    connect(ui->toolButton_record, &QToolButton::clicked, this, &ToolsWidget::signalRecord);
}

void ToolsWidget::setRecording(bool recording) {
    // Not a checkable button: its icon tells whether a click starts or stops the recording.
    ui->toolButton_record->setIcon(QIcon(recording ? ":/image/svg/record_stop" : ":/image/svg/record"));
}

void ToolsWidget::retranslateUi() {
    for (const ButtonInfo& info : m_buttonInfos) {
        if (info.button == nullptr)
            continue;
        const QString text = translated(info.textKey);
        info.button->setText(text);
        info.button->setToolTip(text);
    }
}

void ToolsWidget::setUndoEnabled(bool enabled) {
    ui->toolButton_black->setEnabled(enabled);
}

void ToolsWidget::placeAbove(QWidget* popup, QToolButton* button) {
    if (popup == nullptr)
        return;
    popup->adjustSize();
    const QPoint topLeft = button->mapToGlobal(QPoint(0, 0));
    PopupToggle::show(popup, QPoint(topLeft.x(), topLeft.y() - popup->height() - 2));
}

void ToolsWidget::on_toolButton_pen_clicked() {
    const auto make = [this]() {
        auto* pen = new PenWidget(this, currentSize, currentColor);
        if (m_showAllTools)
            pen->showShapeTools(currentToolType);
        connect(pen, &PenWidget::signalToolChanged, this, &ToolsWidget::slotToolChanged);
        return pen;
    };
    // In the exclusive tool group the button stays the checked one when its popup closes.
    placeAbove(PopupToggle::toggle(this, m_pen, ui->toolButton_pen, make), ui->toolButton_pen);
}

void ToolsWidget::on_toolButton_eraser_clicked() {
    const auto make = [this]() {
        auto* erase = new EraseWiget(this, currentEraserSize);
        connect(erase, &EraseWiget::signalEraseChanged, this, &ToolsWidget::slotEraseChanged);
        return erase;
    };
    placeAbove(PopupToggle::toggle(this, m_erase, ui->toolButton_eraser, make), ui->toolButton_eraser);
}

void ToolsWidget::on_toolButton_adjust_clicked() {
    const auto make = [this]() {
        auto* adjust = new AdjustWidget(this);
        emit adjustPopupOpened(adjust);
        return adjust;
    };
    AdjustWidget* opened = PopupToggle::toggle(this, m_adjust, ui->toolButton_adjust, make);
    checkWhileOpen(opened, m_adjust, ui->toolButton_adjust);
    placeAbove(opened, ui->toolButton_adjust);
}

void ToolsWidget::on_toolButton_videoFliter_clicked() {
    const auto make = [this]() {
        auto* filter = new VideoFilterWidget(this, 0);
        emit filterPopupOpened(filter);
        return filter;
    };
    VideoFilterWidget* opened = PopupToggle::toggle(this, m_filter, ui->toolButton_videoFliter, make);
    checkWhileOpen(opened, m_filter, ui->toolButton_videoFliter);
    placeAbove(opened, ui->toolButton_videoFliter);
}

// The popup toggle's own unchecking does not take in the exclusive group. Connected after the
// toggle's handler, which forgets the popup first unless a newer one has taken its place.
template <class Popup>
void ToolsWidget::checkWhileOpen(Popup* opened, Popup*& popup, QToolButton* button) {
    if (opened == nullptr) {
        if (popup == nullptr)
            uncheckInPictureGroup(button);
        return;
    }
    connect(opened, &QObject::destroyed, this, [this, &popup, button] {
        if (popup == nullptr)
            uncheckInPictureGroup(button);
    });
}

void ToolsWidget::on_toolButton_AFAutoFocus_clicked() {
    emit signalAutoFocus();
    ui->toolButton_AFAutoFocus->setChecked(false);  // a click, not a state
}

void ToolsWidget::on_toolButton_mark_clicked() {
    if (m_mask != MaskKind::None) {
        setMasking(MaskKind::None);
        return;
    }
    const auto make = [this]() {
        auto* popup = new MaskWidget(this, m_mask);
        connect(popup, &MaskWidget::maskChosen, this, &ToolsWidget::setMasking);
        // Closed without a choice: nothing masks the picture, so Masking does not look on.
        connect(popup, &QObject::destroyed, this, [this] {
            if (m_mask == MaskKind::None)
                uncheckInPictureGroup(ui->toolButton_mark);
        });
        return popup;
    };
    placeAbove(PopupToggle::toggle(this, m_maskPopup, ui->toolButton_mark, make), ui->toolButton_mark);
}

void ToolsWidget::toggleMasking() {
    setMasking(m_mask == MaskKind::None ? m_lastMask : MaskKind::None);
}

void ToolsWidget::setMasking(MaskKind kind) {
    const bool changed = kind != m_mask;
    m_mask = kind;
    if (kind == MaskKind::None) {
        PopupToggle::close(m_maskPopup, ui->toolButton_mark);
        uncheckInPictureGroup(ui->toolButton_mark);
    } else {
        m_lastMask = kind;
        ui->toolButton_mark->setChecked(true);
        if (m_maskPopup != nullptr)
            m_maskPopup->setChosen(kind);
    }
    if (changed || kind != MaskKind::None)
        emit maskChanged(kind);
}

void ToolsWidget::uncheckInPictureGroup(QToolButton* button) {
    // The checked button of an exclusive group cannot be unchecked while the group is exclusive.
    m_pictureGroup->setExclusive(false);
    button->setChecked(false);
    m_pictureGroup->setExclusive(true);
}

void ToolsWidget::setAutoFocusAvailable(bool available) {
    ui->toolButton_AFAutoFocus->setEnabled(available);
}

void ToolsWidget::on_toolButton_capture_clicked() {
    emit signalCaptureImage();
    // The checked look shows only during the click.
    ui->toolButton_capture->setChecked(false);
}

void ToolsWidget::slotToolChanged(int type, QColor color, int size) {
    puts("***************************slotToolChanged");
    currentSize = size;
    currentColor = color;
    currentToolType = type;
    emit toolChanged(type, color, size);
}

void ToolsWidget::slotEraseChanged(int eraseType, int size) {
    puts("********************************ToolsWidget::slotEraseChanged start");
    currentEraserSize = size;
    emit switchToEraseMode(eraseType, size);
}

void ToolsWidget::paintEvent(QPaintEvent* /*event*/) {
    QStyleOption option;
    option.initFrom(this);
    QPainter painter(this);
    style()->drawPrimitive(QStyle::PE_Widget, &option, &painter, this);
}
