// Writes captures off the GUI thread, one after another: the camera library's still picture, then
// the annotation layer painted over it, the result replacing the library's file whole.
#pragma once

#include <QImage>
#include <QObject>
#include <QString>
#include <QThreadPool>
#include <array>

class IPresenter;

class CaptureWriter : public QObject {
    Q_OBJECT

public:
    // The camera library takes the path as a NUL-terminated string in a buffer of this size.
    static constexpr int kPathBufferBytes = 1024;
    using PathBuffer = std::array<char, kPathBufferBytes>;

    explicit CaptureWriter(IPresenter* presenter, QObject* parent = nullptr);
    ~CaptureWriter() override;

    // GUI thread: queues a capture to path (already in its buffer) with the layer to paint over it.
    // Captures run in the order they were queued.
    void write(const PathBuffer& path, const QImage& layer);

    // GUI thread: returns once every queued capture has ended.
    void waitForDone();

    // Any thread: loads the picture at path, paints layer over it scaled to the picture's width or
    // height from the top-left corner, and replaces the file whole by way of a temporary file in the
    // same folder. False when the picture cannot be loaded; saved tells whether the replacement was
    // written (the file stays as it was when not).
    static bool paintLayerInto(const QString& path, const QImage& layer, bool* saved);

signals:
    // Emitted on the writer's thread when a capture has ended; loaded is false when the library's
    // picture could not be read (it is then not a capture to show).
    void captureWritten(const QString& path, bool loaded);

private:
    void run(const PathBuffer& path, const QImage& layer);  // the writer's thread

    IPresenter* m_presenter;
    QThreadPool m_pool;  // one thread: captures keep their order
};
