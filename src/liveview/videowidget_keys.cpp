// SPDX-License-Identifier: GPL-3.0-or-later
// The main view's keyboard shortcuts. They act through the same slots and bar buttons a click would,
// so the bars' checked looks follow. Letters never fire while a text field has the focus: the field
// takes the keys it types.
#include <QAbstractButton>
#include <QShortcut>

#include "insetcamera.h"
#include "pagescan.h"
#include "settings/extrasettings.h"
#include "textcontroller.h"
#include "toolbars/toolswidget.h"
#include "videowidget.h"

void VideoWidget::initShortcuts() {
    const auto onKeys = [this](std::initializer_list<QKeySequence> keys, auto action) {
        for (const QKeySequence& key : keys)
            connect(new QShortcut(key, this), &QShortcut::activated, this, action);
    };
    // A tool's key chooses it; a second press leaves it chosen (its popup stays as it is).
    const auto chooseTool = [this](const char* buttonName) {
        return [this, buttonName] {
            auto* button = m_centerToolWidget->findChild<QAbstractButton*>(buttonName);
            if (button != nullptr && !button->isChecked())
                button->click();
        };
    };

    // Space clicks the bar's Freeze button, so that its checked look follows the picture's state.
    onKeys({Qt::Key_Space}, [this] {
        if (auto* button = m_centerToolWidget->findChild<QAbstractButton*>("toolButton_freeze"))
            button->click();
    });
    onKeys({Qt::CTRL | Qt::Key_Z}, &VideoWidget::undoDrawing);
    onKeys({Qt::CTRL | Qt::SHIFT | Qt::Key_Z, Qt::CTRL | Qt::Key_Y}, &VideoWidget::redoDrawing);
    // Ctrl+= is Ctrl+plus without Shift on keyboards that carry + above =.
    onKeys({QKeySequence::ZoomIn, Qt::CTRL | Qt::Key_Equal}, &VideoWidget::zoomIn);
    onKeys({QKeySequence::ZoomOut}, &VideoWidget::zoomOut);
    onKeys({Qt::CTRL | Qt::Key_0}, &VideoWidget::resetZoom);
    onKeys({Qt::Key_P}, chooseTool("toolButton_pen"));
    onKeys({Qt::Key_E}, chooseTool("toolButton_eraser"));
    onKeys({Qt::Key_H}, chooseTool("toolButton_drag"));
    onKeys({Qt::Key_S}, chooseTool("toolButton_areaselection"));
    onKeys({Qt::Key_T}, chooseTool("toolButton_texttool"));
    // K: crop and straighten pages; A: automatic capture.
    connect(new QShortcut(Qt::Key_K, this), &QShortcut::activated, m_pageScan, &PageScan::toggleCropping);
    connect(new QShortcut(Qt::Key_A, this), &QShortcut::activated, m_pageScan, &PageScan::toggleAutoCapture);
    connect(new QShortcut(Qt::Key_M, this), &QShortcut::activated, m_centerToolWidget,
            &ToolsWidget::toggleMasking);
    // O: the page's text to the clipboard; Shift+O: read aloud. With all tools shown only.
    onKeys({Qt::Key_O}, [this] {
        if (m_extraSettings->showAllTools())
            m_text->copyLivePicture();
    });
    onKeys({Qt::SHIFT | Qt::Key_O}, [this] {
        if (m_extraSettings->showAllTools())
            m_text->readAloud();
    });
    // I: the inset camera shown or hidden (with all tools shown).
    onKeys({Qt::Key_I}, [this] { m_inset->toggle(); });
    onKeys({Qt::Key_Escape}, &VideoWidget::cancelInProgress);
}
