// SPDX-License-Identifier: GPL-3.0-or-later
// Writes captures off the GUI thread, one after another: the camera library's still picture (or the
// two pages of a book spread), then the annotation layer painted over it, the result replacing the
// library's file whole.
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
        NoPageFound,        // cropping is on but no page was found: the whole picture is saved
    };
    Q_ENUM(Failure)

    // One click of Capture.
    struct Request {
        PathBuffer path{};       // the file; the left page's when a spread is split
        PathBuffer rightPath{};  // the right page's file when spreads are split; empty otherwise
        QImage layer;            // the drawing over the live picture
        long devIndex = 0;
        int quality = 90;       // JPEG quality of a file that the drawing is painted into
        bool cropping = false;  // the library cuts the page out, which the drawing does not fit
    };

    explicit CaptureWriter(IPresenter* presenter, QObject* parent = nullptr);
    ~CaptureWriter() override;

    // GUI thread: queues a capture. Captures run in the order they were queued.
    void write(const Request& request);

    // GUI thread: returns once every queued capture has ended.
    void waitForDone();

    // Any thread: loads the picture at path, paints layer over it scaled to the picture's width or
    // height from the top-left corner, and replaces the file whole, encoded at quality, by way of a
    // temporary file in the same folder. A layer without drawing leaves the file as the library wrote
    // it. False when the picture cannot be loaded; saved tells whether the file holds the drawing
    // (it stays as it was when not).
    static bool paintLayerInto(const QString& path, const QImage& layer, int quality, bool* saved);

    // Any thread: why the camera library's result code left no file at path.
    static Failure failureOfLibraryCode(long code, const QString& path);

signals:
    // Emitted on the writer's thread for each file of a capture when it has ended, a spread's left
    // page first; loaded is false when the library's picture could not be read or the file was not
    // needed (a spread's right page when the picture showed one page): it is then not a capture to
    // show. failure says what went wrong.
    void captureWritten(const QString& path, bool loaded, CaptureWriter::Failure failure);

private:
    void loop();                             // the writer's thread
    void run(const Request& request);        // the writer's thread
    void runSpread(const Request& request);  // the writer's thread
    // The writer's thread: the drawing into a written file, and the file's report.
    void finish(const QString& path, const Request& request, bool pageCut, Failure failure);

    IPresenter* m_presenter;
    std::mutex m_mutex;                 // guards m_jobs, m_busy and m_stopping
    std::condition_variable m_changed;  // a job was queued or ended, or the writer is stopping
    std::deque<Request> m_jobs;         // in the order of the clicks
    bool m_busy = false;                // a job has been taken and has not ended
    bool m_stopping = false;
    std::thread m_thread;  // one thread: captures keep their order
};
