// SPDX-License-Identifier: GPL-3.0-or-later
// The picture tools beside the view: orientation, looks, the camera's controls and focus, from the
// Adjustment and Video Filters popups, the AF button and their keys, remembered per camera.
#pragma once

#include <QFutureWatcher>
#include <QObject>
#include <QPointer>
#include <functional>
#include <memory>

class AdjustWidget;
class CameraPictureMemory;
class ExtraSettings;
class IPresenter;
class QWidget;
class ToolsWidget;
class VideoFilterWidget;

// GUI thread only; a one-shot focus runs on the thread pool. A child of the view, which deletes it
// before the camera closes.
class PictureToolsController : public QObject {
    Q_OBJECT

public:
    // bar: the bottom tool bar, whose popups and AF button the controller serves; keys: the parent,
    // to which the keys R, Shift+R, Ctrl+M, F and D belong; cameraShows: whether a camera picture is
    // shown.
    PictureToolsController(IPresenter* presenter, ExtraSettings* store, ToolsWidget* bar, QWidget* keys,
                           std::function<bool()> cameraShows);
    // Waits for a focus under way: it still needs the camera.
    ~PictureToolsController() override;

    // The camera just opened gets what the user chose for it before.
    void cameraOpened(long devIndex);
    const CameraPictureMemory& memory() const { return *m_memory; }

    void rotate(int quarterTurns);
    void cycleLook();
    // A notice says the focus began and how it ended: the picture alone may show no change.
    void focusOnce();

signals:
    // What failed or finished, for the view's notices.
    void notice(const QString& text);

private:
    void report(long result, const QString& what);
    void serveAdjustPopup(AdjustWidget* popup);
    void serveFilterPopup(VideoFilterWidget* popup);

    std::unique_ptr<CameraPictureMemory> m_memory;
    ToolsWidget* m_bar;
    std::function<bool()> m_cameraShows;
    QPointer<VideoFilterWidget> m_filterPopup;  // open Video Filters popup, which D keeps up to date
    QFutureWatcher<long> m_focusWatcher;        // a one-shot focus under way on the thread pool
};
