// SPDX-License-Identifier: GPL-3.0-or-later
// Languages at run time and the main menu: the chooser, the switch through menu, left bar and view,
// the language entry's text, where the chooser and the about panel open, and Exit.
#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QToolButton>
#include <QtTest>

#include "filebrowser/filelistwidget.h"
#include "liveview/videowidget.h"
#include "settings/aboutwidget.h"
#include "settings/languagewidget.h"
#include "settings/readxml.h"
#include "testenvironment.h"
#include "toolbars/cselectmenu.h"
#include "toolbars/toolswidget.h"
#include "toolbars/toolwidget_left.h"
#include "toolbars/toolwidget_right.h"

class TestLanguage : public QObject {
    Q_OBJECT

private:
    QTemporaryDir m_home;
    QString m_configPath;

    QByteArray configFile() const { return testenvironment::fileBytes(m_configPath); }

    void storeLanguage(const QString& code) {
        ReadXML::instance()->language = code.toStdString();
        QVERIFY(ReadXML::instance()->writeData(m_configPath.toUtf8().constData()));
    }

    static QToolButton* leftButton(VideoWidget& view, const char* name) {
        return view.findChild<ToolWidget_Left*>()->findChild<QToolButton*>(name);
    }
    static QToolButton* rightButton(VideoWidget& view, const char* name) {
        return view.findChild<ToolWidget_Right*>()->findChild<QToolButton*>(name);
    }

    static void showOnScreen(VideoWidget& view) {
        view.setGeometry(QGuiApplication::primaryScreen()->geometry());
        view.show();
        QVERIFY(QTest::qWaitForWindowExposed(&view));
    }

    // Opens the main menu from the left bar, as a click does.
    static CSelectMenu* openMenu(VideoWidget& view) {
        QTest::mouseClick(leftButton(view, "toolButton_menu"), Qt::LeftButton);
        return view.findChild<ToolWidget_Left*>()->m_selectMenu;
    }

    static QToolButton* entry(CSelectMenu* menu, const char* name) {
        return menu->findChild<QToolButton*>(name);
    }

private slots:
    void initTestCase() { m_configPath = testenvironment::isolate(m_home.path()); }

    void init() {
        ReadXML::instance()->savePath = m_home.filePath("captures").toStdString();
        storeLanguage("en");
    }

    void languageEntryNamesTheStoredLanguage_data() {
        QTest::addColumn<QString>("stored");
        QTest::addColumn<QString>("text");
        QTest::newRow("Russian") << "ru"
                                 << "Русский";
        QTest::newRow("Simplified Chinese") << "zh_CN"
                                            << "简体中文";
        QTest::newRow("English") << "en"
                                 << "English";
        QTest::newRow("nothing stored") << ""
                                        << "English";
        QTest::newRow("ru_RU is not a code of the three") << "ru_RU"
                                                          << "English";
    }

    void languageEntryNamesTheStoredLanguage() {
        QFETCH(QString, stored);
        QFETCH(QString, text);
        ReadXML::instance()->language = stored.toStdString();
        CSelectMenu menu;
        QCOMPARE(entry(&menu, "toolButton_english")->text(), text);
    }

    void chooserEntriesShareTheWindow() {
        LanguageWidget chooser;
        chooser.show();
        QVERIFY(QTest::qWaitForWindowExposed(&chooser));
        QCOMPARE(chooser.size(), QSize(120, 90));
        const QToolButton* buttons[] = {chooser.btn_en, chooser.btn_cn, chooser.btn_ru};
        for (int i = 0; i < 3; ++i) {
            QCOMPARE(buttons[i]->geometry(), QRect(0, 30 * i, 120, 40));
            QVERIFY(chooser.isAncestorOf(buttons[i]));
        }
        QCOMPARE(chooser.btn_en->text(), QString("English"));
        QCOMPARE(chooser.btn_ru->text(), QString("Русский"));
    }

    // The choice is made on the press, before any release.
    void chooserEmitsOnPress_data() {
        QTest::addColumn<int>("button");
        QTest::addColumn<QString>("code");
        QTest::newRow("English") << 0 << "en";
        QTest::newRow("Simplified Chinese") << 1 << "zh_CN";
        QTest::newRow("Russian") << 2 << "ru";
    }

    void chooserEmitsOnPress() {
        QFETCH(int, button);
        QFETCH(QString, code);
        LanguageWidget chooser;
        chooser.show();
        QVERIFY(QTest::qWaitForWindowExposed(&chooser));
        QSignalSpy chosen(&chooser, &LanguageWidget::signalSwitchLanguage);
        QToolButton* buttons[] = {chooser.btn_en, chooser.btn_cn, chooser.btn_ru};
        QTest::mousePress(buttons[button], Qt::LeftButton, {}, QPoint(20, 10));
        QCOMPARE(chosen.count(), 1);
        QCOMPARE(chosen.first().first().toString(), code);
    }

    // The whole way: menu, language entry, a press in the chooser; the view saves the code, installs
    // its translation and re-translates the bars; the next menu names the new language.
    void switchingThroughTheMenu_data() {
        QTest::addColumn<QString>("start");
        QTest::addColumn<int>("button");
        QTest::addColumn<QString>("code");
        QTest::addColumn<QString>("menuText");
        QTest::addColumn<QString>("folderText");
        QTest::addColumn<QString>("entryText");
        QTest::addColumn<QString>("captureText");
        QTest::addColumn<QString>("colourDialogText");  // one of Qt's own texts
        QTest::addColumn<QString>("pdfText");           // the file panel's button
        QTest::addColumn<QString>("noPictureText");     // a tile whose file cannot be read
        // clang-format off
        QTest::newRow("English to Russian") << "en" << 2 << "ru" << "Меню" << "Показать папку" << "Русский" << "Снимок" << "&Основные цвета" << "Сохранить в PDF" << "Не удалось загрузить изображение";
        QTest::newRow("English to Chinese") << "en" << 1 << "zh_CN" << "菜单" << "显示文件夹" << "简体中文" << "拍照" << "基本颜色(&B)" << "保存为 PDF" << "无法加载图像";
        QTest::newRow("Chinese to English") << "zh_CN" << 0 << "en" << "Menu" << "Show Folder" << "English" << "Capture" << "&Basic colors" << "Save as PDF" << "No load image";
        QTest::newRow("Russian again") << "ru" << 2 << "ru" << "Меню" << "Показать папку" << "Русский" << "Снимок" << "&Основные цвета" << "Сохранить в PDF" << "Не удалось загрузить изображение";
        // clang-format on
    }

    void switchingThroughTheMenu() {
        QFETCH(QString, start);
        QFETCH(int, button);
        QFETCH(QString, code);
        QFETCH(QString, menuText);
        QFETCH(QString, folderText);
        QFETCH(QString, entryText);
        QFETCH(QString, captureText);
        QFETCH(QString, colourDialogText);
        QFETCH(QString, pdfText);
        QFETCH(QString, noPictureText);
        storeLanguage(start);
        VideoWidget view;
        showOnScreen(view);
        view.findChild<FileListWidget*>()->addPath(m_home.filePath("unreadable.jpg"));
        QSignalSpy fromBar(view.findChild<ToolWidget_Left*>(), &ToolWidget_Left::signalSwitchLanguage);
        CSelectMenu* menu = openMenu(view);
        QVERIFY(menu != nullptr);
        QTest::mouseClick(entry(menu, "toolButton_english"), Qt::LeftButton);
        LanguageWidget* chooser = menu->findChild<LanguageWidget*>();
        QVERIFY(chooser != nullptr && chooser->isVisible());
        QFile::remove(m_configPath);
        QToolButton* buttons[] = {chooser->btn_en, chooser->btn_cn, chooser->btn_ru};
        QTest::mousePress(buttons[button], Qt::LeftButton, {}, QPoint(20, 10));
        QCOMPARE(fromBar.count(), 1);
        QCOMPARE(fromBar.first().first().toString(), code);
        QVERIFY(configFile().contains("<Language>" + code.toUtf8() + "</Language>"));
        QCOMPARE(leftButton(view, "toolButton_menu")->text(), menuText);
        QCOMPARE(leftButton(view, "toolButton_menu")->toolTip(), menuText);
        QCOMPARE(rightButton(view, "toolButton_filelist")->text(), folderText);
        QCOMPARE(view.findChild<ToolsWidget*>()->findChild<QToolButton*>("toolButton_capture")->text(),
                 captureText);
        QCOMPARE(QCoreApplication::translate("QColorDialog", "&Basic colors"), colourDialogText);
        QCOMPARE(view.findChild<FileListWidget*>()->findChild<QPushButton*>("pdfButton")->text(), pdfText);
        QStringList panelTexts;
        for (const QLabel* label : view.findChild<FileListWidget*>()->findChildren<QLabel*>())
            panelTexts << label->text();
        QVERIFY2(panelTexts.contains(noPictureText), qPrintable(panelTexts.join('|')));
        // The press lay outside the menu: the menu closes, and the next one names the new language.
        QTest::mouseRelease(buttons[button], Qt::LeftButton, {}, QPoint(20, 10));
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QVERIFY(view.findChild<ToolWidget_Left*>()->m_selectMenu == nullptr);
        menu = openMenu(view);
        QVERIFY(menu != nullptr);
        QCOMPARE(entry(menu, "toolButton_english")->text(), entryText);
    }

    // The code is saved before its file is tried; without a file the source texts show.
    void codeWithoutTranslationFileIsKept() {
        storeLanguage("ru");
        VideoWidget view;
        QCOMPARE(leftButton(view, "toolButton_menu")->text(), QString("Меню"));
        QTest::ignoreMessage(QtDebugMsg, QRegularExpression("❌ Failed to load translation:.*de\\.qm"));
        emit view.findChild<ToolWidget_Left*>()->signalSwitchLanguage("de");
        QVERIFY(configFile().contains("<Language>de</Language>"));
        QCOMPARE(leftButton(view, "toolButton_menu")->text(), QString("Menu"));
        QCOMPARE(leftButton(view, "toolButton_set")->text(), QString("Setting"));
        QCOMPARE(rightButton(view, "toolButton_compare")->text(), QString("Split Screen"));
    }

    // The folder button reads "Show Folder" after a switch even while the panel is open; its look and
    // state stay, so its next click still hides the panel.
    void folderButtonAfterSwitchWhilePanelOpen() {
        VideoWidget view;
        showOnScreen(view);
        QToolButton* folder = rightButton(view, "toolButton_filelist");
        QTest::mouseClick(folder, Qt::LeftButton);
        const QImage hideIcon = folder->icon().pixmap(30, 30).toImage();
        emit view.findChild<ToolWidget_Left*>()->signalSwitchLanguage("ru");
        QCOMPARE(folder->text(), QString("Показать папку"));
        QCOMPARE(folder->icon().pixmap(30, 30).toImage(), hideIcon);
        QSignalSpy hidden(view.findChild<ToolWidget_Right*>(), &ToolWidget_Right::HideListWidget);
        QTest::mouseClick(folder, Qt::LeftButton);
        QCOMPARE(hidden.count(), 1);
        QCOMPARE(folder->text(), QString("Показать папку"));
    }

    void chooserPosition_data() {
        QTest::addColumn<QPoint>("entry");
        QTest::addColumn<QRect>("available");
        QTest::addColumn<QPoint>("position");
        const QRect screen(0, 0, 1920, 1080);
        QTest::newRow("room on the right: beside the entry, bottoms aligned")
            << QPoint(4, 500) << screen << QPoint(4 + 200 + 7, 500 + 40 - 90);
        QTest::newRow("near the right edge: left of the entry")
            << QPoint(1700, 500) << screen << QPoint(1700 - 120 - 7, 450);
        QTest::newRow("near the bottom edge: pushed up")
            << QPoint(4, 1060) << screen << QPoint(211, 1079 - 90);
        QTest::newRow("near the top of an offset area: pushed down")
            << QPoint(4, 40) << QRect(0, 30, 1920, 1050) << QPoint(211, 30);
        QTest::newRow("bottom right corner") << QPoint(1800, 1070) << screen << QPoint(1800 - 127, 989);
    }

    void chooserPosition() {
        QFETCH(QPoint, entry);
        QFETCH(QRect, available);
        QFETCH(QPoint, position);
        QCOMPARE(CSelectMenu::chooserPosition(entry, QSize(200, 40), QSize(120, 90), available), position);
    }

    void chooserOpensBesideTheLanguageEntry() {
        CSelectMenu menu;
        menu.move(20, 200);
        menu.show();
        QVERIFY(QTest::qWaitForWindowExposed(&menu));
        QToolButton* language = entry(&menu, "toolButton_english");
        QTest::mouseClick(language, Qt::LeftButton);
        LanguageWidget* chooser = menu.findChild<LanguageWidget*>();
        QVERIFY(chooser != nullptr && chooser->isVisible());
        const QRect entryRect(language->mapToGlobal(QPoint()), language->size());
        QCOMPARE(chooser->geometry().left(), entryRect.right() + 1 + 7);
        QCOMPARE(chooser->geometry().bottom(), entryRect.bottom());
    }

    // The caption stays English; the title, name, version and rights line follow the translation.
    void aboutPanelFromTheMenu() {
        storeLanguage("ru");
        VideoWidget view;
        showOnScreen(view);
        CSelectMenu* menu = openMenu(view);
        QVERIFY(menu != nullptr);
        QTest::mouseClick(entry(menu, "toolButton_Abount"), Qt::LeftButton);
        AboutWidget* about = menu->findChild<AboutWidget*>();
        QVERIFY(about != nullptr && about->isVisible());
        QCOMPARE(about->size(), QSize(400, 250));
        QCOMPARE(about->frameGeometry().center(),
                 QGuiApplication::primaryScreen()->availableGeometry().center());
        QCOMPARE(about->windowTitle(), QString("О программе"));
        QStringList texts;
        for (QLabel* label : about->findChildren<QLabel*>())
            texts << label->text();
        QVERIFY2(texts.contains("About") && texts.contains("Текущая версия: V1.0.0"),
                 qPrintable(texts.join('|')));
        QVERIFY(!texts.contains("Current Version: V1.0.0"));
        // The icon is drawn: the middle of the blue tile is not transparent.
        for (QLabel* label : about->findChildren<QLabel*>())
            if (!label->pixmap(Qt::ReturnByValue).isNull())
                QVERIFY(qAlpha(label->pixmap(Qt::ReturnByValue).toImage().pixel(32, 10)) > 200);
        // A press in the panel lies outside the menu: menu and panel close together.
        QPointer<AboutWidget> panel = about;
        QTest::mouseClick(about, Qt::LeftButton, {}, QPoint(200, 125));
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QVERIFY(panel.isNull());
    }
};

QTEST_MAIN(TestLanguage)
#include "tst_language.moc"
