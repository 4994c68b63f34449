// SPDX-License-Identifier: GPL-3.0-or-later
// The page's text with the view: O recognises the camera's page (cut out and straightened first when
// cropping is on) and puts its text on the clipboard and in the text panel; the text is read aloud
// through a sound server of the test's own, word after word, for as long as speaking it takes, and a
// speech server that never answers hangs nothing.
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <QApplication>
#include <QClipboard>
#include <QDir>
#include <QElapsedTimer>
#include <QLabel>
#include <QPainter>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTextEdit>
#include <QtTest>
#include <algorithm>
#include <atomic>
#include <memory>
#include <thread>

#include "liveview/textpanel.h"
#include "liveview/videowidget.h"
#include "optigrab_sim.h"
#include "printedpage.h"
#include "recording/soundserver.h"
#include "settings/capturechoices.h"
#include "settings/extrasettings.h"
#include "settings/readxml.h"
#include "settings/textchoices.h"
#include "testenvironment.h"
#include "text/speechreader.h"

class TestPageText : public QObject {
    Q_OBJECT

    QTemporaryDir m_home;
    QTemporaryDir m_frames;
    ExtraSettings m_extra;

    // A 1920x1080 camera picture: the page on a dark desk, turned by degrees.
    QImage pageOnDesk(const QStringList& lines, const QString& family, double degrees) {
        const QImage page = printedpage::draw(lines, family, 44, QSize(1300, 760));
        QImage picture(1920, 1080, QImage::Format_RGB32);
        picture.fill(QColor(60, 50, 40));
        QPainter painter(&picture);
        painter.setRenderHint(QPainter::SmoothPixmapTransform);
        painter.translate(960, 540);
        painter.rotate(degrees);
        painter.drawImage(-650, -380, page);
        return picture;
    }

private slots:
    void initTestCase() {
        const QString configPath = testenvironment::isolate(m_home.path());
        m_extra.open(ExtraSettings::defaultFilePath());
        m_extra.setShowAllTools(true);
        ReadXML* s = ReadXML::instance();
        s->language = "en";
        s->devName = "";
        s->savePath = m_home.path().toStdString();
        QVERIFY(s->writeData(configPath.toUtf8().constData()));
        // Speech-dispatcher is started for this test alone, with the test's sound server.
        qputenv("XDG_RUNTIME_DIR", m_home.path().toUtf8());
    }

    // The settings file beside the tests is shared by the suites: the next one finds captures whole
    // and the bars as they first stand.
    void cleanupTestCase() {
        CaptureChoices(&m_extra).setCropping(false);
        m_extra.setShowAllTools(false);
    }

    void oCopiesThePagesText_data() {
        QTest::addColumn<QString>("language");
        QTest::addColumn<QString>("family");
        QTest::addColumn<QStringList>("lines");
        QTest::addColumn<bool>("cropping");
        QTest::addColumn<double>("degrees");
        QTest::addRow("English, the whole picture")
            << "en"
            << "DejaVu Sans" << QStringList{"Copy the words of this page", "onto the clipboard"} << false
            << 0.0;
        QTest::addRow("Russian, the page turned on the desk, cropped")
            << "ru"
            << "DejaVu Sans" << QStringList{"Страница лежит криво", "немного повёрнутой"} << true << 3.0;
    }
    void oCopiesThePagesText() {
        QFETCH(QString, language);
        QFETCH(QString, family);
        QFETCH(QStringList, lines);
        QFETCH(bool, cropping);
        QFETCH(double, degrees);
        QDir(m_frames.path()).removeRecursively();
        QVERIFY(QDir().mkpath(m_frames.path()));
        QVERIFY(pageOnDesk(lines, family, degrees).save(m_frames.filePath("page.jpg"), "JPEG", 92));
        QVERIFY(optigrabSimPlugFrames(m_frames.path().toUtf8().constData(), 30) >= 0);
        CaptureChoices(&m_extra).setCropping(cropping);
        TextChoices(&m_extra).setLanguages({language, "en"});
        QApplication::clipboard()->clear();
        {
            VideoWidget view(nullptr, &m_extra);
            view.resize(960, 540);
            view.show();
            QVERIFY(QTest::qWaitForWindowExposed(&view));
            // The page must be found before a cropped still is taken.
            QTest::qWait(cropping ? 1500 : 500);
            QTest::keyClick(&view, Qt::Key_O);
            QTRY_VERIFY_WITH_TIMEOUT(!QApplication::clipboard()->text().isEmpty(), 30000);
            QCOMPARE(QApplication::clipboard()->text(), lines.join('\n'));
            const auto* notice = view.findChild<QLabel*>("noticeLabel");
            const int words = lines.join(' ').split(' ').size();
            QCOMPARE(notice->text(), QString("Text copied: %1 words").arg(words));
            const auto* panel = view.findChild<TextPanel*>();
            QVERIFY(panel->isVisible());
            // Both are read at once: neither hides the other.
            QVERIFY(!notice->geometry().intersects(panel->geometry()));
            QCOMPARE(panel->findChild<QTextEdit*>()->toPlainText(), lines.join('\n'));
        }
        optigrabSimUnplugAll();
    }

    // Each word is marked in turn while it is spoken, and the whole takes as long as speech does.
    void readingAloudMarksEachWordInTurn() {
        SoundServer sound;
        if (!sound.startWithSpeakers())
            QSKIP("pulseaudio could not be started");
        PageText text;
        text.pictureSize = QSize(1000, 200);
        const QStringList words{"One", "two", "three", "four.", "Five", "six", "seven", "eight."};
        for (int i = 0; i < words.size(); ++i)
            text.words.append({words[i], QRect(i * 100, 20, 90, 40), "en", 0});
        SpeechReader reader;
        QSignalSpy reached(&reader, &SpeechReader::wordReached);
        QSignalSpy finished(&reader, &SpeechReader::finished);
        QSignalSpy noVoice(&reader, &SpeechReader::noVoice);
        QElapsedTimer clock;
        clock.start();
        QVERIFY2(reader.read(text), noVoice.isEmpty() ? "no speech" : "no English voice");
        QVERIFY(finished.wait(30000));
        const qint64 ms = clock.elapsed();
        // Eight words at a speaking pace: well over a second, and not a stalled engine.
        QVERIFY2(ms > 1200 && ms < 20000, qPrintable(QString::number(ms)));
        QList<int> order;
        for (const QList<QVariant>& signal : reached)
            order << signal.first().toInt();
        QCOMPARE(order.first(), 0);
        QCOMPARE(order.last(), words.size() - 1);
        QVERIFY(std::is_sorted(order.begin(), order.end()));
        QVERIFY2(order.size() >= words.size() - 2, "the mark skipped words");

        // Stopped (Esc) mid-text: at once.
        QVERIFY(reader.read(text));
        QTest::qWait(300);
        finished.clear();
        reader.stop();
        QCOMPARE(finished.size(), 1);
        QVERIFY(!reader.reading());
    }

    // A speech server that takes the connection and never answers (as a wedged one does): reading
    // starts at once, gives up with a notice of its own, and the window goes on meanwhile.
    void aSpeechServerThatNeverAnswersHangsNothing() {
        const QByteArray path = QFile::encodeName(m_home.filePath("silent.sock"));
        // Left open until the test ends: the engine's library crashes when a server hangs up on it
        // in the middle of its greeting, which is not what is tested here.
        const int server = ::socket(AF_UNIX, SOCK_STREAM, 0);
        sockaddr_un address{};
        address.sun_family = AF_UNIX;
        qstrncpy(address.sun_path, path.constData(), sizeof address.sun_path);
        QVERIFY(::bind(server, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0);
        QVERIFY(::listen(server, 4) == 0);  // connections wait in the backlog, never taken
        qputenv("SPEECHD_ADDRESS", "unix_socket:" + path);
        PageText text;
        text.words.append({"Silence", QRect(0, 0, 90, 40), "en", 0});
        // A reader that waits on the server in the window's thread never comes back: end the test.
        std::atomic<bool> back{false};
        std::thread watchdog([&back] {
            for (int i = 0; i < 300 && !back; ++i)
                std::this_thread::sleep_for(std::chrono::milliseconds(100));
            if (!back)
                qFatal("reading aloud waits on a silent speech server in the window's thread");
        });
        {
            SpeechReader reader;
            QSignalSpy noAnswer(&reader, &SpeechReader::noAnswer);
            QSignalSpy finished(&reader, &SpeechReader::finished);
            int ticks = 0;
            QTimer window;  // stands for the window's own work
            connect(&window, &QTimer::timeout, [&] { ++ticks; });
            window.start(100);
            QElapsedTimer clock;
            clock.start();
            const bool started = reader.read(text);
            back = true;
            watchdog.join();
            QVERIFY(started);
            QVERIFY2(clock.elapsed() < 1000, qPrintable(QString::number(clock.elapsed())));
            QVERIFY(noAnswer.wait(15000));
            QCOMPARE(finished.size(), 1);
            QVERIFY(!reader.reading());
            QVERIFY2(ticks > clock.elapsed() / 100 / 2, qPrintable(QString::number(ticks)));
        }
        qunsetenv("SPEECHD_ADDRESS");
    }
};

QTEST_MAIN(TestPageText)
#include "tst_pagetext.moc"
