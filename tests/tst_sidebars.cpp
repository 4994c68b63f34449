// SPDX-License-Identifier: GPL-3.0-or-later
// The left and right tool bars in the view: the row after side swaps, the folder button, the popups
// of the left bar, and the settings panel switching the camera that the next start opens.
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QGuiApplication>
#include <QScreen>
#include <QSettings>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTimer>
#include <QToolButton>
#include <QtTest>

#include "filebrowser/filelistwidget.h"
#include "liveview/videowidget.h"
#include "optigrab.h"
#include "optigrab_sim.h"
#include "settings/extrasettings.h"
#include "settings/readxml.h"
#include "settings/settingdevwidget.h"
#include "testenvironment.h"
#include "toolbars/cselectmenu.h"
#include "toolbars/toolswidget.h"
#include "toolbars/toolwidget_left.h"
#include "toolbars/toolwidget_right.h"
#include "viewdriver.h"

namespace {

int plugCamera(const char* name, const char* product) {
    OptigrabSimConfig config;
    optigrabSimDefaultConfig(&config);
    config.name = name;
    config.vendorId = "fa11";
    config.productId = product;
    return optigrabSimPlug(&config);
}

// Object names of the widgets, left to right on the screen.
QStringList leftToRight(QList<QWidget*> widgets) {
    std::sort(widgets.begin(), widgets.end(), [](QWidget* a, QWidget* b) {
        return a->mapToGlobal(QPoint()).x() < b->mapToGlobal(QPoint()).x();
    });
    QStringList names;
    for (QWidget* widget : widgets)
        names << widget->objectName();
    return names;
}

QImage iconImage(const QIcon& icon) {
    return icon.pixmap(30, 30).toImage().convertToFormat(QImage::Format_ARGB32);
}

// Mean brightness (0..255) of a rectangle of an image.
int meanBrightness(const QImage& image, const QRect& area) {
    qint64 sum = 0;
    int count = 0;
    for (int y = area.top(); y <= area.bottom(); y += 4)
        for (int x = area.left(); x <= area.right(); x += 4, ++count)
            sum += qGray(image.pixel(x, y));
    return count == 0 ? 0 : int(sum / count);
}

}  // namespace

class TestSideBars : public QObject {
    Q_OBJECT

private:
    QTemporaryDir m_home;
    QString m_configPath;

    static ToolWidget_Left* leftBar(VideoWidget& view) { return view.findChild<ToolWidget_Left*>(); }
    static ToolWidget_Right* rightBar(VideoWidget& view) { return view.findChild<ToolWidget_Right*>(); }
    static QToolButton* leftButton(VideoWidget& view, const char* name) {
        return leftBar(view)->findChild<QToolButton*>(name);
    }
    static QToolButton* rightButton(VideoWidget& view, const char* name) {
        return rightBar(view)->findChild<QToolButton*>(name);
    }

    static QList<QWidget*> leftButtons(VideoWidget& view) {
        return {leftButton(view, "toolButton_right"), leftButton(view, "toolButton_menu"),
                leftButton(view, "toolButton_set"), leftButton(view, "toolButton_min")};
    }
    static QList<QWidget*> rightButtons(VideoWidget& view) {
        return {rightButton(view, "toolButton_compare"), rightButton(view, "toolButton_filelist"),
                rightButton(view, "toolButton_left")};
    }

    static void showOnScreen(VideoWidget& view) {
        view.setGeometry(QGuiApplication::primaryScreen()->geometry());
        view.show();
        QVERIFY(QTest::qWaitForWindowExposed(&view));
    }

    // Lets a popup closed by a press be deleted, as the event loop does between press and release.
    static void deletePending() { QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete); }

private slots:
    void initTestCase() { m_configPath = testenvironment::isolate(m_home.path()); }

    void init() {
        optigrabSimUnplugAll();
        ReadXML* s = ReadXML::instance();
        s->devName.clear();
        s->devPIDVID.clear();
        s->videoFormat = 0;
        s->resolution.clear();
        s->language = "en";
        s->savePath = m_home.filePath("captures").toStdString();
        QVERIFY(s->writeData(m_configPath.toUtf8().constData()));
    }

    void cleanup() { optigrabSimUnplugAll(); }

    void rowAfterSwaps_data() {
        QTest::addColumn<QString>("clicks");  // L = left bar's swap button, R = right bar's
        QTest::addColumn<QStringList>("bars");
        QTest::addColumn<QStringList>("leftOrder");
        QTest::addColumn<QStringList>("rightOrder");
        QTest::addColumn<QString>("roundedButton");
        const QStringList bars = {"ToolWidget_Left", "ToolWidget_Right"};
        const QStringList swappedBars = {"ToolWidget_Right", "ToolWidget_Left"};
        const QStringList left = {"toolButton_right", "toolButton_menu", "toolButton_set", "toolButton_min"};
        const QStringList leftSwapped = {"toolButton_min", "toolButton_menu", "toolButton_set",
                                         "toolButton_right"};
        const QStringList right = {"toolButton_compare", "toolButton_filelist", "toolButton_left"};
        const QStringList rightSwapped = {"toolButton_left", "toolButton_compare", "toolButton_filelist"};
        QTest::newRow("at start") << "" << bars << left << right << "toolButton_compare";
        QTest::newRow("left swap") << "L" << swappedBars << leftSwapped << rightSwapped
                                   << "toolButton_filelist";
        QTest::newRow("right swap") << "R" << swappedBars << leftSwapped << rightSwapped
                                    << "toolButton_filelist";
        QTest::newRow("left swap twice") << "LL" << bars << left << right << "toolButton_compare";
        QTest::newRow("right, then left swap") << "RL" << bars << left << right << "toolButton_compare";
        QTest::newRow("three swaps") << "LRL" << swappedBars << leftSwapped << rightSwapped
                                     << "toolButton_filelist";
    }

    void rowAfterSwaps() {
        QFETCH(QString, clicks);
        QFETCH(QStringList, bars);
        QFETCH(QStringList, leftOrder);
        QFETCH(QStringList, rightOrder);
        QFETCH(QString, roundedButton);
        VideoWidget view;
        showOnScreen(view);
        for (QChar bar : clicks) {
            QToolButton* swap =
                bar == 'L' ? leftButton(view, "toolButton_right") : rightButton(view, "toolButton_left");
            QTest::mouseClick(swap, Qt::LeftButton);
            QCoreApplication::processEvents();
            QVERIFY(!swap->isChecked());
        }
        QCOMPARE(leftToRight({leftBar(view), rightBar(view)}), bars);
        QCOMPARE(leftToRight(leftButtons(view)), leftOrder);
        QCOMPARE(leftToRight(rightButtons(view)), rightOrder);
        // Each bar sits at its screen edge, whole and shown.
        const QRect screen = QGuiApplication::primaryScreen()->geometry();
        QWidget* first =
            bars.first() == "ToolWidget_Left" ? static_cast<QWidget*>(leftBar(view)) : rightBar(view);
        QWidget* last = first == leftBar(view) ? static_cast<QWidget*>(rightBar(view)) : leftBar(view);
        QCOMPARE(first->mapToGlobal(QPoint()).x(), screen.left());
        QCOMPARE(last->mapToGlobal(QPoint(last->width() - 1, 0)).x(), screen.right());
        QVERIFY(leftBar(view)->isVisible() && rightBar(view)->isVisible());
        QCOMPARE(leftBar(view)->size(), QSize(208, 66));
        QCOMPARE(leftBar(view)->parentWidget(), &view);
        QVERIFY(rightBar(view)->styleSheet().contains("#" + roundedButton));
    }

    // Two bars of a kind: re-translating one leaves the other's buttons alone.
    void eachBarTranslatesItsOwnButtons() {
        ToolWidget_Left firstLeft;
        ToolWidget_Right firstRight;
        ToolWidget_Left secondLeft;
        ToolWidget_Right secondRight;
        QToolButton* secondMenu = secondLeft.findChild<QToolButton*>("toolButton_menu");
        QToolButton* secondFolder = secondRight.findChild<QToolButton*>("toolButton_filelist");
        secondMenu->setText("kept");
        secondFolder->setText("kept");
        firstLeft.retranslateUi();
        firstRight.retranslateUi();
        QCOMPARE(secondMenu->text(), QString("kept"));
        QCOMPARE(secondFolder->text(), QString("kept"));
        QCOMPARE(firstLeft.findChild<QToolButton*>("toolButton_menu")->toolTip(), QString("Menu"));
    }

    void folderButtonAlternates() {
        VideoWidget view;
        showOnScreen(view);
        QToolButton* folder = rightButton(view, "toolButton_filelist");
        QSignalSpy shown(rightBar(view), &ToolWidget_Right::ShowListWidget);
        QSignalSpy hidden(rightBar(view), &ToolWidget_Right::HideListWidget);
        const QImage expandIcon = iconImage(QIcon(":/image/svg/expand"));
        const QImage hideIcon = iconImage(QIcon(":/image/svg/hidefolder"));
        QVERIFY(expandIcon != hideIcon);
        QCOMPARE(iconImage(folder->icon()), expandIcon);
        const struct {
            int shown, hidden;
            const char* text;
            const QImage& icon;
        } afterClick[] = {{1, 0, "Hide Folder", hideIcon},
                          {1, 1, "Show Folder", expandIcon},
                          {2, 1, "Hide Folder", hideIcon}};
        for (const auto& expected : afterClick) {
            QTest::mouseClick(folder, Qt::LeftButton);
            QCOMPARE(shown.count(), expected.shown);
            QCOMPARE(hidden.count(), expected.hidden);
            QCOMPARE(folder->text(), QString(expected.text));
            QVERIFY(!folder->isChecked());
            QCOMPARE(iconImage(folder->icon()), expected.icon);
            // Pressed, the button shows the pressed icon of its current look only.
            folder->setChecked(true);
            QCOMPARE(iconImage(folder->icon()),
                     iconImage(QIcon(expected.icon == hideIcon ? ":/image/svg/hidefolder_press"
                                                               : ":/image/svg/expand_press")));
            folder->setChecked(false);
        }
    }

    void swapRestoresTheFolderButton() {
        VideoWidget view;
        showOnScreen(view);
        QToolButton* folder = rightButton(view, "toolButton_filelist");
        QTest::mouseClick(folder, Qt::LeftButton);
        QCOMPARE(folder->text(), QString("Hide Folder"));
        QSignalSpy hidden(rightBar(view), &ToolWidget_Right::HideListWidget);
        QSignalSpy shown(rightBar(view), &ToolWidget_Right::ShowListWidget);
        QTest::mouseClick(leftButton(view, "toolButton_right"), Qt::LeftButton);
        QCOMPARE(folder->text(), QString("Show Folder"));
        QCOMPARE(iconImage(folder->icon()), iconImage(QIcon(":/image/svg/expand")));
        // The next click shows the panel again.
        QTest::mouseClick(folder, Qt::LeftButton);
        QCOMPARE(shown.count(), 1);
        QCOMPARE(hidden.count(), 0);
    }

    // The folder button shows the panel above the right bar's end of the row (the left end when the
    // bars are exchanged); a swap from either bar hides it.
    void filePanelFollowsFolderButtonAndSwaps_data() {
        QTest::addColumn<QString>("swapButton");
        QTest::newRow("left bar's swap") << "toolButton_right";
        QTest::newRow("right bar's swap") << "toolButton_left";
    }

    void filePanelFollowsFolderButtonAndSwaps() {
        QFETCH(QString, swapButton);
        VideoWidget view;
        showOnScreen(view);
        QWidget* panel = view.findChild<FileListWidget*>();
        QToolButton* folder = rightButton(view, "toolButton_filelist");
        const QSize screen = QGuiApplication::primaryScreen()->size();
        QVERIFY(!panel->isVisible());
        QTest::mouseClick(folder, Qt::LeftButton);
        QVERIFY(panel->isVisible());
        QCOMPARE(panel->pos(), QPoint(screen.width() - 228, screen.height() - 666));
        QToolButton* swap = swapButton == "toolButton_right" ? leftButton(view, "toolButton_right")
                                                             : rightButton(view, "toolButton_left");
        QTest::mouseClick(swap, Qt::LeftButton);
        QVERIFY(!panel->isVisible());
        QCOMPARE(folder->text(), QString("Show Folder"));
        QTest::mouseClick(folder, Qt::LeftButton);
        QVERIFY(panel->isVisible());
        QCOMPARE(panel->pos(), QPoint(0, screen.height() - 666));
        QTest::mouseClick(folder, Qt::LeftButton);
        QVERIFY(!panel->isVisible());
    }

    // A press on the opening button while its popup is open closes the popup; the release, after the
    // popup has gone, opens a new one.
    void pressOnTheOpenerClosesThenReleaseReopens_data() {
        QTest::addColumn<bool>("settings");
        QTest::newRow("Menu") << false;
        QTest::newRow("Setting") << true;
    }

    void pressOnTheOpenerClosesThenReleaseReopens() {
        QFETCH(bool, settings);
        VideoWidget view;
        showOnScreen(view);
        ToolWidget_Left* bar = leftBar(view);
        QToolButton* opener =
            settings ? leftButton(view, "toolButton_set") : leftButton(view, "toolButton_menu");
        const auto popup = [&]() -> QWidget* {
            return settings ? static_cast<QWidget*>(bar->m_deviceSetting) : bar->m_selectMenu;
        };
        QTest::mouseClick(opener, Qt::LeftButton);
        QPointer<QWidget> first = popup();
        QVERIFY(first && first->isVisible());
        QVERIFY(opener->isChecked());
        QTest::mousePress(opener, Qt::LeftButton);
        QVERIFY(!first->isVisible());
        deletePending();
        QVERIFY(first.isNull());
        QVERIFY(popup() == nullptr);
        QVERIFY(!opener->isChecked());
        QTest::mouseRelease(opener, Qt::LeftButton);
        QVERIFY(popup() != nullptr && popup()->isVisible());
        QVERIFY(opener->isChecked());
    }

    // Presses on the opener in quick succession, each handled before the popup it closed is deleted.
    void quickReopeningKeepsPanelAndButtonInStep_data() {
        QTest::addColumn<bool>("settings");
        QTest::newRow("Menu") << false;
        QTest::newRow("Setting") << true;
    }

    void quickReopeningKeepsPanelAndButtonInStep() {
        QFETCH(bool, settings);
        VideoWidget view;
        showOnScreen(view);
        QToolButton* opener = leftButton(view, settings ? "toolButton_set" : "toolButton_menu");
        const auto visiblePopups = [&] {
            int count = 0;
            for (QWidget* window : QApplication::topLevelWidgets())
                if (window->isVisible() && (qobject_cast<settingDevWidget*>(window) != nullptr ||
                                            qobject_cast<CSelectMenu*>(window) != nullptr))
                    ++count;
            return count;
        };
        for (int presses = 1; presses <= 4; ++presses) {
            opener->click();
            if (presses == 3)
                deletePending();  // the first popup goes only now, after the third press
            QCOMPARE(visiblePopups(), presses % 2);
            QCOMPARE(opener->isChecked(), presses % 2 == 1);
        }
    }

    void settingsPanelStaysOnScreen_data() {
        QTest::addColumn<bool>("swapped");
        QTest::newRow("bar at the left edge: left edges aligned") << false;
        QTest::newRow("bar at the right edge: right edges aligned") << true;
    }

    void settingsPanelStaysOnScreen() {
        QFETCH(bool, swapped);
        VideoWidget view;
        showOnScreen(view);
        if (swapped)
            QTest::mouseClick(leftButton(view, "toolButton_right"), Qt::LeftButton);
        QCoreApplication::processEvents();
        QToolButton* button = leftButton(view, "toolButton_set");
        QTest::mouseClick(button, Qt::LeftButton);
        QWidget* panel = leftBar(view)->m_deviceSetting;
        QVERIFY(panel != nullptr);
        const QRect buttonRect(button->mapToGlobal(QPoint()), button->size());
        QCOMPARE(panel->geometry().bottom() + 1, buttonRect.top());
        if (swapped)
            QCOMPARE(panel->geometry().right(), buttonRect.right());
        else
            QCOMPARE(panel->geometry().left(), buttonRect.left());
        QVERIFY(QGuiApplication::primaryScreen()->availableGeometry().contains(panel->geometry()));
    }

    // "Show all tools" on the General page: applied at once, remembered beside the settings file, and
    // off again gives the five basic buttons. The bar stays centred between the side bars.
    void showAllToolsSwitch() {
        const QStringList basic = {"toolButton_drag", "toolButton_pen", "toolButton_eraser",
                                   "toolButton_freeze", "toolButton_capture"};
        // The tools built so far, in the bar's order.
        const QStringList all = {"toolButton_drag",        "toolButton_areaselection", "toolButton_pen",
                                 "toolButton_eraser",      "toolButton_texttool",      "toolButton_black",
                                 "toolButton_videoFliter", "toolButton_mark",          "toolButton_adjust",
                                 "toolButton_freeze",      "toolButton_AFAutoFocus",   "toolButton_capture",
                                 "toolButton_record"};
        const auto shownButtons = [](VideoWidget& view) {
            QList<QWidget*> shown;
            for (QToolButton* button : view.findChild<ToolsWidget*>()->findChildren<QToolButton*>())
                if (button->isVisible())
                    shown << button;
            return leftToRight(shown);
        };
        const auto checkBar = [&](VideoWidget& view, const QStringList& expected) {
            QCOMPARE(shownButtons(view), expected);
            // Split Screen works with all tools shown only.
            QCOMPARE(rightButton(view, "toolButton_compare")->isEnabled(), expected.size() > basic.size());
            QWidget* bar = view.findChild<ToolsWidget*>();
            QCOMPARE(bar->size(), QSize(66 * expected.size(), 66));
            const int left = leftBar(view)->mapToGlobal(QPoint(leftBar(view)->width(), 0)).x();
            const int right = rightBar(view)->mapToGlobal(QPoint()).x();
            QVERIFY(qAbs(bar->mapToGlobal(QPoint()).x() - left -
                         (right - bar->mapToGlobal(QPoint(bar->width(), 0)).x())) <= 1);
        };
        const auto clickSwitch = [](VideoWidget& view) {
            QTest::mouseClick(leftButton(view, "toolButton_set"), Qt::LeftButton);
            auto* box = leftBar(view)->m_deviceSetting->findChild<QCheckBox*>("checkBox_showAllTools");
            QVERIFY(box != nullptr);
            box->click();
            QTest::mouseClick(leftButton(view, "toolButton_set"), Qt::LeftButton);
            deletePending();
        };
        const QString extraFile = QFileInfo(m_configPath).dir().filePath("extrasettings.ini");
        {
            VideoWidget view;
            showOnScreen(view);
            checkBar(view, basic);
            clickSwitch(view);
            QCoreApplication::processEvents();
            checkBar(view, all);
            QCOMPARE(QSettings(extraFile, QSettings::IniFormat).value("tools/showAll").toBool(), true);
        }
        {
            VideoWidget view;
            showOnScreen(view);
            checkBar(view, all);
            clickSwitch(view);
            QCoreApplication::processEvents();
            checkBar(view, basic);
        }
        QCOMPARE(QSettings(extraFile, QSettings::IniFormat).value("tools/showAll").toBool(), false);
        // The settings file keeps its fields: the switch lives in the file of its own.
        QVERIFY(!testenvironment::fileBytes(m_configPath).contains("showAll"));
    }

    void plugOrUnplugClosesTheSettingsPanel_data() {
        QTest::addColumn<bool>("unplug");
        QTest::addColumn<bool>("browsing");  // the panel's folder dialog is open at that moment
        QTest::newRow("a camera plugged in") << false << false;
        QTest::newRow("a camera unplugged") << true << false;
        QTest::newRow("a camera plugged in while browsing") << false << true;
        QTest::newRow("a camera unplugged while browsing") << true << true;
    }

    void plugOrUnplugClosesTheSettingsPanel() {
        QFETCH(bool, unplug);
        QFETCH(bool, browsing);
        const int desk = plugCamera("Desk", "0c01");
        plugCamera("Wall", "0c02");
        VideoWidget view;
        showOnScreen(view);
        QTest::mouseClick(leftButton(view, "toolButton_set"), Qt::LeftButton);
        QPointer<settingDevWidget> panel = leftBar(view)->m_deviceSetting;
        QVERIFY(panel && panel->isVisible());
        const auto plugOrUnplug = [&] {
            if (unplug)
                optigrabSimUnplug(desk);
            else
                plugCamera("Side", "0c03");
        };
        if (browsing) {
            // Runs inside the dialog's own event loop; a dialog left open is closed after a while,
            // so that a failure cannot hang the suite.
            QPointer<QWidget> dialog;
            QTimer::singleShot(0, this, [&] {
                dialog = QApplication::activeModalWidget();
                plugOrUnplug();
            });
            QTimer::singleShot(15000, this, [&] {
                if (dialog)
                    dialog->close();
            });
            const QList<QToolButton*> buttons = panel->findChildren<QToolButton*>();
            const auto browse = std::find_if(buttons.begin(), buttons.end(),
                                             [](QToolButton* b) { return b->text() == "Browser"; });
            QVERIFY(browse != buttons.end());
            (*browse)->click();  // returns when the dialog has closed
            QVERIFY(dialog.isNull() || !dialog->isVisible());
        } else {
            plugOrUnplug();
        }
        QTRY_VERIFY_WITH_TIMEOUT(panel.isNull(), 15000);
        QVERIFY(leftBar(view)->m_deviceSetting == nullptr);
        QVERIFY(!leftButton(view, "toolButton_set")->isChecked());
        // The next panel lists the cameras as they are now (the view took the change before the
        // panel went).
        QTest::mouseClick(leftButton(view, "toolButton_set"), Qt::LeftButton);
        QVERIFY(leftBar(view)->m_deviceSetting != nullptr);
        QCOMPARE(leftBar(view)->m_deviceSetting->findChild<QComboBox*>("comboBox_device")->count(),
                 unplug ? 1 : 3);
    }

    void cameraChosenInThePanelIsShownAndOpenedAtTheNextStart() {
        const int desk = plugCamera("Desk", "0c01");
        const int wall = plugCamera("Wall", "0c02");
        {
            VideoWidget view;
            showOnScreen(view);
            QTRY_VERIFY_WITH_TIMEOUT(viewdriver::showsPicture(view), 10000);
            QTest::mouseClick(leftButton(view, "toolButton_set"), Qt::LeftButton);
            settingDevWidget* panel = leftBar(view)->m_deviceSetting;
            QVERIFY(panel != nullptr);
            const QList<QComboBox*> boxes = {panel->findChild<QComboBox*>("comboBox_device"),
                                             panel->findChild<QComboBox*>("comboBox_format"),
                                             panel->findChild<QComboBox*>("comboBox_resolution")};
            QVERIFY(!boxes.contains(nullptr));
            boxes[0]->setCurrentIndex(1);  // Wall: its first format and resolution
            const long deskFrames = optigrabSimFramesDelivered(desk);
            QTRY_VERIFY_WITH_TIMEOUT(viewdriver::showsPicture(view), 10000);
            const long wallFrames = optigrabSimFramesDelivered(wall);
            QTRY_VERIFY_WITH_TIMEOUT(optigrabSimFramesDelivered(wall) > wallFrames + 3, 10000);
            QCOMPARE(optigrabSimFramesDelivered(desk), deskFrames);
            // The page fills the view: the paper at the top left is light, the title bar dark.
            const QImage picture = viewdriver::painted(view);
            const int w = picture.width(), h = picture.height();
            QVERIFY(meanBrightness(picture, QRect(0, 0, w / 20, h / 20)) > 180);
            QVERIFY(meanBrightness(picture, QRect(w * 15 / 100, h * 11 / 100, w / 5, h * 4 / 100)) < 110);

            // A resolution of the same camera.
            const int index = boxes[2]->findText("1280 x 720");
            QVERIFY(index >= 0);
            boxes[2]->setCurrentIndex(index);
            long subtype = 0, width = 0, height = 0, fps = 0;
            camGetCurPreviewResolution(1, &subtype, &width, &height, &fps);
            QCOMPARE(width, 1280L);
            QCOMPARE(height, 720L);
            QTest::mouseClick(leftButton(view, "toolButton_set"), Qt::LeftButton);  // closes and stores
            deletePending();
            QVERIFY(leftBar(view)->m_deviceSetting == nullptr);
        }
        QCOMPARE(QString::fromStdString(ReadXML::instance()->devPIDVID), QString("fa11&0c02"));
        ReadXML::instance()->devPIDVID.clear();
        QVERIFY(ReadXML::instance()->readData(m_configPath.toUtf8().constData()));
        const long wallFrames = optigrabSimFramesDelivered(wall);
        VideoWidget next;
        // The next start opens the wall camera, which delivers the frames.
        QTRY_VERIFY_WITH_TIMEOUT(optigrabSimFramesDelivered(wall) > wallFrames + 1, 10000);
        long subtype = 0, width = 0, height = 0, fps = 0;
        QCOMPARE(camGetCurPreviewResolution(1, &subtype, &width, &height, &fps), 0L);
        QCOMPARE(width, 1280L);
    }

    void exitClosesTheMenuThenTheView() {
        VideoWidget view;
        showOnScreen(view);
        QTest::mouseClick(leftButton(view, "toolButton_menu"), Qt::LeftButton);
        CSelectMenu* menu = leftBar(view)->m_selectMenu;
        QVERIFY(menu != nullptr);
        bool menuOpenAtCloseAll = true;
        int closeAlls = 0;
        connect(menu, &CSelectMenu::closeAll, this, [&] {
            ++closeAlls;
            menuOpenAtCloseAll = menu->isVisible();
        });
        QSignalSpy closeUi(leftBar(view), &ToolWidget_Left::CloseUI);
        QTest::mouseClick(menu->findChild<QToolButton*>("toolButton_exit"), Qt::LeftButton);
        QCOMPARE(closeAlls, 1);
        QVERIFY(!menuOpenAtCloseAll);
        QCOMPARE(closeUi.count(), 1);
        QVERIFY(!view.isVisible());
    }

    void minMinimisesTheView() {
        VideoWidget view;
        showOnScreen(view);
        QTest::mouseClick(leftButton(view, "toolButton_min"), Qt::LeftButton);
        QTRY_VERIFY(view.windowState() & Qt::WindowMinimized);
        QVERIFY(!leftButton(view, "toolButton_min")->isChecked());
    }
};

QTEST_MAIN(TestSideBars)
#include "tst_sidebars.moc"
