// SPDX-License-Identifier: GPL-3.0-or-later
// The page found on the picture: its outline, the scanning state and the flash of an automatic
// capture.
#pragma once

#include "overlay.h"

class CameraPictureMemory;
class PageScan;

// GUI thread only.
class PageOutlineOverlay : public Overlay {
public:
    PageOutlineOverlay(const PageScan& scan, const CameraPictureMemory& memory)
        : m_scan(scan), m_memory(memory) {}
    void paint(QPainter& painter, const Viewport& viewport, const QRect& dirty) const override;

private:
    const PageScan& m_scan;
    const CameraPictureMemory& m_memory;  // how the shown picture is turned from the camera's
};
