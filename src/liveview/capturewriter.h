// Writes captures off the GUI thread, one after another: the camera library's still picture, then
// the annotation layer painted over it, the result replacing the library's file whole.
#pragma once

#include <QImage>
#include <QObject>
#include <QString>
#include <array>
#include <condition_variable>
#include <deque>
#include <mutex>
#include <thread>

class IPresenter;

class CaptureWriter : public QObject {
    Q_OBJECT

public:
    // The camera library takes the path as a NUL-terminated string in a buffer of this size.
    static constexpr int kPathBufferBytes = 1024;
    using PathBuffer = std::array<char, kPathBufferBytes>;

    // Why a capture left no file, or no drawing in its file; the view words it for the user.
    enum class Failure {
        None,
        NoPicture,          // the camera has not delivered a picture yet
        FolderNotWritable,  // the save folder cannot be created or written
        DiskFull,           // the save folder's disk has no room for the picture
        CameraGone,         // the camera was unplugged or closed
        CameraFailed,       // the camera library gave another reason
        DrawingNotSaved,    // the picture is saved, the drawing over it is not
    };
    Q_ENUM(Failure)

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

    // Any thread: why the camera library's result code left no file at path.
    static Failure failureOfLibraryCode(long code, const QString& path);

signals:
    // Emitted on the writer's thread when a capture has ended; loaded is false when the library's
    // picture could not be read (it is then not a capture to show). failure says what went wrong.
    void captureWritten(const QString& path, bool loaded, CaptureWriter::Failure failure);

private:
    struct Job {
        PathBuffer path;
        QImage layer;
    };

    void loop();                                            // the writer's thread
    void run(const PathBuffer& path, const QImage& layer);  // the writer's thread

    IPresenter* m_presenter;
    std::mutex m_mutex;                 // guards m_jobs, m_busy and m_stopping
    std::condition_variable m_changed;  // a job was queued or ended, or the writer is stopping
    std::deque<Job> m_jobs;             // in the order of the clicks
    bool m_busy = false;                // a job has been taken and has not ended
    bool m_stopping = false;
    std::thread m_thread;  // one thread: captures keep their order
};
