// SPDX-License-Identifier: GPL-3.0-or-later
// A PulseAudio server of the test's own whose source "lesson" hears what the test writes into a FIFO
// (48 kHz mono float), as a microphone would at the moment of writing, or whose sink "speakers" plays
// in real time into nothing: no sound card needed.
#pragma once

#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>
#include <QThread>

class SoundServer {
public:
    // Starts the server with the source "lesson" and points this process's sound clients at it; false
    // when it did not come up.
    bool start() {
        return launch("module-pipe-source source_name=lesson format=float32le rate=48000 channels=1 file=" +
                      fifoPath());
    }
    // Starts the server with the silent sink "speakers", as start() does.
    bool startWithSpeakers() { return launch("module-null-sink sink_name=speakers"); }
    QString fifoPath() const { return m_dir.filePath("lesson.fifo"); }

    ~SoundServer() {
        m_server.kill();
        m_server.waitForFinished();
        qunsetenv("PULSE_SERVER");
    }

private:
    bool launch(const QString& module) {
        const QString socket = m_dir.filePath("native");
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert("PULSE_RUNTIME_PATH", m_dir.path());
        environment.insert("HOME", m_dir.path());
        m_server.setProcessEnvironment(environment);
        m_server.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        m_server.start(
            "pulseaudio",
            {"-n", "--daemonize=no", "--exit-idle-time=-1", "--use-pid-file=no", "--log-level=error", "-L",
             "module-native-protocol-unix auth-anonymous=1 socket=" + socket, "-L", module});
        QElapsedTimer waited;
        waited.start();
        while (!QFileInfo::exists(socket) && waited.elapsed() < 10000 &&
               m_server.state() != QProcess::NotRunning)
            QThread::msleep(50);
        qputenv("PULSE_SERVER", ("unix:" + socket).toUtf8());
        qputenv("PULSE_COOKIE", m_dir.filePath("cookie").toUtf8());
        return QFileInfo::exists(socket);
    }

    QTemporaryDir m_dir;
    QProcess m_server;
};
