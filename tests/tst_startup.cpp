// SPDX-License-Identifier: GPL-3.0-or-later
// Start-up of the main view: the settings it writes, the language it settles on, the prompt; and the
// memory the running program gives back.
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QTemporaryDir>
#include <QtTest>
#include <cstdlib>
#include <cstring>
#include <thread>
#include <vector>

#include "app/memorytrim.h"
#include "liveview/videowidget.h"
#include "settings/languagecode.h"
#include "settings/readxml.h"
#include "testenvironment.h"

class TestStartup : public QObject {
    Q_OBJECT

private:
    QTemporaryDir m_home;
    QString m_configPath;

    QByteArray configFile() const { return testenvironment::fileBytes(m_configPath); }

    static long rssAnonKiB() {
        QFile status("/proc/self/status");
        if (!status.open(QIODevice::ReadOnly))
            return -1;
        for (const QByteArray& line : status.readAll().split('\n'))
            if (line.startsWith("RssAnon:"))
                return line.mid(8).trimmed().split(' ').value(0).toLong();
        return -1;
    }

private slots:
    void initTestCase() {
        qunsetenv("XDG_CONFIG_HOME");
        m_configPath = testenvironment::isolate(m_home.path());
    }

    void init() {
        QFile::remove(m_configPath);
        ReadXML* s = ReadXML::instance();
        s->savePath.clear();
        s->language.clear();
    }

    void settlesTheLanguageCode_data() {
        QTest::addColumn<QString>("stored");
        QTest::addColumn<QString>("locale");
        QTest::addColumn<QString>("code");
        QTest::newRow("Chinese locale") << ""
                                        << "zh_CN"
                                        << "zh_CN";
        QTest::newRow("Russian locale") << ""
                                        << "ru_RU"
                                        << "ru";
        QTest::newRow("German locale") << ""
                                       << "de_DE"
                                       << "en";
        QTest::newRow("Traditional Chinese locale") << ""
                                                    << "zh_TW"
                                                    << "en";
        QTest::newRow("lower-case locale") << ""
                                           << "zh_cn"
                                           << "zh_CN";
        QTest::newRow("stored code wins") << "ru"
                                          << "zh_CN"
                                          << "ru";
        QTest::newRow("unknown stored code kept") << "ru_RU"
                                                  << "en_US"
                                                  << "ru_RU";
        QTest::newRow("hyphenated stored code kept") << "pt-BR"
                                                     << "ru_RU"
                                                     << "pt-BR";
        QTest::newRow("stored path settled from the locale") << "../../etc/passwd"
                                                             << "ru_RU"
                                                             << "ru";
        QTest::newRow("stored absolute path") << "/tmp/zh_CN"
                                              << "de_DE"
                                              << "en";
        QTest::newRow("stored code ending in a line break") << "ru\n"
                                                            << "zh_CN"
                                                            << "zh_CN";
        QTest::newRow("stored code with a blank") << "zh CN"
                                                  << "de_DE"
                                                  << "en";
    }

    void settlesTheLanguageCode() {
        QFETCH(QString, stored);
        QFETCH(QString, locale);
        QFETCH(QString, code);
        QCOMPARE(LanguageCode::settle(stored, locale), code);
    }

    void firstStartWritesTheSettings() {
        VideoWidget view;
        const QByteArray file = configFile();
        const QString expectedFolder = QDir(m_home.path()).filePath("Documents/Pagelux");
        QVERIFY2(file.contains("<SavePath>" + expectedFolder.toUtf8() + "</SavePath>"), file.constData());
        const QString language = QString::fromStdString(ReadXML::instance()->language);
        QVERIFY(language == "en" || language == "zh_CN" || language == "ru");
        QVERIFY(file.contains("<Language>" + language.toUtf8() + "</Language>"));
        QCOMPARE(file.count("\n    <"), 14);
    }

    void brokenFileIsRewrittenAtStart() {
        QFile broken(m_configPath);
        QVERIFY(broken.open(QIODevice::WriteOnly));
        broken.write("<Config><SavePath>/tmp/x</Sa");
        broken.close();
        VideoWidget view;
        QVERIFY(configFile().startsWith("<Config>\n    <SavePath>"));
        QVERIFY(configFile().endsWith("</Config>\n"));
    }

    void storedLanguageTranslatesThePrompt_data() {
        QTest::addColumn<QString>("code");
        QTest::addColumn<QString>("prompt");
        QTest::addColumn<QString>("colourDialogText");  // one of Qt's own texts
        QTest::newRow("Chinese") << "zh_CN"
                                 << "请插入文档摄像头以启用本应用程序"
                                 << "基本颜色(&B)";
        QTest::newRow("Russian") << "ru"
                                 << "Подключите документ-камеру, чтобы начать работу с приложением"
                                 << "&Основные цвета";
        QTest::newRow("English") << "en"
                                 << "Plug in the document camera to enable the application"
                                 << "&Basic colors";
        QTest::newRow("code without file shows the source text")
            << "ru_RU"
            << "Plug in the document camera to enable the application"
            << "&Basic colors";
    }

    void storedLanguageTranslatesThePrompt() {
        QFETCH(QString, code);
        QFETCH(QString, prompt);
        QFETCH(QString, colourDialogText);
        ReadXML::instance()->language = code.toStdString();
        ReadXML::instance()->writeData(m_configPath.toUtf8().constData());
        ReadXML::instance()->language.clear();
        QStringList texts;
        QString qtText;
        {
            VideoWidget view;
            for (QLabel* label : view.findChildren<QLabel*>())
                texts << label->text();
            qtText = QCoreApplication::translate("QColorDialog", "&Basic colors");
        }
        QVERIFY2(texts.contains(prompt), qPrintable(texts.join('|')));
        QCOMPARE(qtText, colourDialogText);
        QVERIFY(configFile().contains("<Language>" + code.toUtf8() + "</Language>"));
    }

    // The tst_startup_ru entry runs this with a Russian system locale and nothing stored.
    void russianSystemLocaleLoadsRu() {
        if (QLocale::system().name() != "ru_RU")
            QSKIP("needs LC_ALL=ru_RU.UTF-8, as tst_startup_ru sets it");
        QStringList texts;
        {
            VideoWidget view;
            for (QLabel* label : view.findChildren<QLabel*>())
                texts << label->text();
        }
        QCOMPARE(QString::fromStdString(ReadXML::instance()->language), QString("ru"));
        QVERIFY(configFile().contains("<Language>ru</Language>"));
        // The prompt comes from ru.qm.
        QVERIFY2(texts.contains("Подключите документ-камеру, чтобы начать работу с приложением"),
                 qPrintable(texts.join('|')));
    }

    // A settings file that names a path as its language must not make the program load a translation
    // from outside its translations folder; the code is settled again and written back.
    void storedPathIsNotLoadedAndIsReplaced() {
        const QString outside = QCoreApplication::applicationDirPath() + "/outside.qm";
        QFile::remove(outside);
        QVERIFY(QFile::copy(LanguageCode::translationFile("ru"), outside));
        ReadXML::instance()->language = "../outside";
        ReadXML::instance()->writeData(m_configPath.toUtf8().constData());
        ReadXML::instance()->language.clear();
        const QString settled = LanguageCode::settle("", QLocale::system().name());
        QStringList texts;
        {
            VideoWidget view;
            for (QLabel* label : view.findChildren<QLabel*>())
                texts << label->text();
        }
        QFile::remove(outside);
        if (settled != "ru")
            QVERIFY2(!texts.contains("Подключите документ-камеру, чтобы начать работу с приложением"),
                     qPrintable(texts.join('|')));
        QCOMPARE(QString::fromStdString(ReadXML::instance()->language), settled);
        QVERIFY(configFile().contains("<Language>" + settled.toUtf8() + "</Language>"));
    }

    // Memory freed on another thread, between blocks still in use, goes back to the system when the
    // program trims: the C library alone keeps it.
    void freedMemoryGoesBackToTheSystem() {
#if defined(__SANITIZE_ADDRESS__) || defined(__SANITIZE_THREAD__)
        QSKIP("the sanitizers' allocator keeps pools of its own");
#endif
        constexpr int kBlocks = 3000, kBlockSize = 64 * 1024;  // 188 MiB, below the size mapped apart
        std::vector<void*> kept;
        std::thread([&kept] {
            std::vector<char*> freed;
            for (int i = 0; i < kBlocks; ++i) {
                freed.push_back(new char[kBlockSize]);
                std::memset(freed.back(), 1, kBlockSize);
                kept.push_back(std::malloc(64));  // in use between them: the pool's top cannot shrink
            }
            for (char* block : freed)
                delete[] block;
        }).join();
        const long before = rssAnonKiB();
        QVERIFY(MemoryTrim::trimNow());
        const long after = rssAnonKiB();
        for (void* block : kept)
            std::free(block);
        QVERIFY2(before - after > 100 * 1024,
                 qPrintable(QString("%1 KiB held before, %2 KiB after").arg(before).arg(after)));
    }

    void promptSitsInTheMiddleWithoutCamera() {
        VideoWidget view;
        view.resize(1920, 1080);
        view.show();
        QVERIFY(QTest::qWaitForWindowExposed(&view));
        QLabel* icon = nullptr;
        QLabel* text = nullptr;
        // The prompt is what shows over the picture: a camera picture (not the corner icon) and a
        // line of text. Labels of other overlays that are hidden are no part of it.
        for (QLabel* label : view.findChildren<QLabel*>(QString(), Qt::FindDirectChildrenOnly)) {
            if (!label->isVisible())
                continue;
            if (!label->text().isEmpty())
                text = label;
            else if (!label->pixmap(Qt::ReturnByValue).isNull() && label->geometry() != QRect(10, 10, 40, 40))
                icon = label;
        }
        QVERIFY(icon && text);
        QCOMPARE(icon->geometry(), QRect(930, 495, 60, 60));
        QCOMPARE(text->geometry(), QRect(0, 565, 1920, 30));
    }
};

QTEST_MAIN(TestStartup)
#include "tst_startup.moc"
