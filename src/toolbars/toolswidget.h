// SPDX-License-Identifier: GPL-3.0-or-later
// The bottom tool bar: Move, Annotation, Eraser, Freeze and Capture, and the pen and eraser popups
// that open above their buttons.
#pragma once

#include <QColor>
#include <QList>
#include <QWidget>

#include "maskkind.h"

class AdjustWidget;
class EraseWiget;
class MaskWidget;
class PenWidget;
class QButtonGroup;
class QToolButton;
class VideoFilterWidget;

namespace Ui {
class ToolsWidget;
}

// GUI thread only.
class ToolsWidget : public QWidget {
    Q_OBJECT

public:
    explicit ToolsWidget(QWidget* parent = nullptr);
    ~ToolsWidget() override;

    // Texts and tool tips of every button, hidden ones included, in the current language.
    void retranslateUi();
    // Undo is enabled while the canvas has a step to undo.
    void setUndoEnabled(bool enabled);
    // The Record button's look while a recording runs.
    void setRecording(bool recording);

public slots:
    // Shows the hidden buttons whose tools are built (on) or only the basic five (off); the bar's width
    // follows, 66 px a button.
    void setShowAllTools(bool on);
    // The AF button is greyed for a camera that cannot focus by itself.
    void setAutoFocusAvailable(bool available);
    // M: masking off, or on again with the mask chosen last (a curtain at first).
    void toggleMasking();

signals:
    void switchToMovingMode();
    void switchToDrawingMode();
    void switchToEraseMode(int eraseType, int size);
    void signalFreeze(bool bIsCheck);
    void signalCaptureImage();
    void signalRecord();  // Record was clicked
    void toolChanged(int type, QColor color, int size);
    // A new Adjustment or Video Filters popup, before it shows: the receiver fills and connects it.
    void adjustPopupOpened(AdjustWidget* popup);
    void filterPopupOpened(VideoFilterWidget* popup);
    void signalAutoFocus();
    void switchToSelectMode();
    void switchToTextMode();
    void undoClicked();
    // Masking was turned on with this mask, changed, or turned off (MaskKind::None).
    void maskChanged(MaskKind kind);

protected:
    // Lets the style draw this plain widget's own style sheet: background, border, rounded corners.
    void paintEvent(QPaintEvent* event) override;

private slots:
    // Connected by name when the form is set up, so they run before the relays of initConnect.
    void on_toolButton_pen_clicked();
    void on_toolButton_eraser_clicked();
    void on_toolButton_capture_clicked();
    void on_toolButton_adjust_clicked();
    void on_toolButton_videoFliter_clicked();
    void on_toolButton_AFAutoFocus_clicked();
    // Opens the Masking popup, or turns masking off when it is on.
    void on_toolButton_mark_clicked();
    void slotToolChanged(int type, QColor color, int size);
    void slotEraseChanged(int eraseType, int size);

private:
    friend class TestToolsWidget;

    struct ButtonInfo {
        QToolButton* button;
        const char* textKey;  // untranslated English text, also the translation source
    };

    void initUI();
    void disableButton();
    void initConnect();
    // Shows popup 2 pixels above button, left edges aligned; popup may be null.
    static void placeAbove(QWidget* popup, QToolButton* button);
    // The mask shown, with Masking's checked look and its popup following it.
    void setMasking(MaskKind kind);
    // Video Filters and Adjustment look checked while their popup is open, and only then.
    template <class Popup>
    void checkWhileOpen(Popup* opened, Popup*& popup, QToolButton* button);
    // Masking, Video Filters and Adjustment share an exclusive group, whose checked button a plain
    // setChecked(false) leaves checked.
    void uncheckInPictureGroup(QToolButton* button);

    Ui::ToolsWidget* ui;
    int currentSize = 5;
    QColor currentColor{255, 0, 0, 255};
    int currentToolType = 0;  // the pen popup's tool: 0 pen, other tools with "Show all tools"
    bool m_showAllTools = false;
    int currentEraserSize = 5;
    PenWidget* m_pen = nullptr;
    EraseWiget* m_erase = nullptr;
    AdjustWidget* m_adjust = nullptr;
    VideoFilterWidget* m_filter = nullptr;
    MaskWidget* m_maskPopup = nullptr;
    MaskKind m_mask = MaskKind::None;
    MaskKind m_lastMask = MaskKind::Curtain;  // what M turns on
    QButtonGroup* toolsGroup = nullptr;
    QButtonGroup* m_pictureGroup = nullptr;  // Video Filters, Masking, Adjustment
    // One list per bar: a class-wide one would point at the buttons of whichever bar was made last,
    // and at deleted buttons once that bar is gone.
    QList<ButtonInfo> m_buttonInfos;
};
