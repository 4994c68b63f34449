// SPDX-License-Identifier: GPL-3.0-or-later
// A second camera opened beside the view's own, for an inset: its frames come decoded near the inset's
// size and are handed to the GUI thread one at a time.
#pragma once

#include <QImage>
#include <QObject>
#include <QSize>
#include <atomic>
#include <memory>

class IModel;

// One at a time: the library's frame callback carries no object. GUI thread, but for the frames.
class InsetStream : public QObject {
    Q_OBJECT

public:
    explicit InsetStream(QObject* parent = nullptr);
    ~InsetStream() override;

    // Vendor, product and serial of camera devIndex of the last rescan: what finds it again after one.
    QString identity(long devIndex) const;
    // The name a menu shows for camera devIndex.
    QString name(long devIndex) const;

    // Opens camera devIndex in its largest MJPG mode (else its first media type's largest), its frames
    // decoded no larger than they need to be to cover size (device pixels). Closes one open before.
    // A library result: 0 when it opened.
    long open(long devIndex, const QSize& size);
    void close();
    long device() const { return m_device; }
    // The inset's new size: frames are decoded and scaled for it from the next one on.
    void setSize(const QSize& size);
    QSize size() const { return QSize(m_width, m_height); }

signals:
    // A frame at the size asked for (the camera's shape kept), on the GUI thread.
    void frameArrived(const QImage& frame);

private:
    // Runs on the camera's capture thread.
    void deliver(const QImage& frame);
    static bool frameCallback(unsigned char* frame, long width, long height, long size, void* param);

    std::unique_ptr<IModel> m_model;
    long m_device = -1;
    std::atomic<int> m_width{0};
    std::atomic<int> m_height{0};
    // A frame waits for the GUI thread: later ones are dropped until it is taken.
    std::atomic<bool> m_waiting{false};
};
