// SPDX-License-Identifier: GPL-3.0-or-later
// The settings panel: what it shows from the camera list and the settings, the one camera change each
// user action signals, the save folder and prefix choices, and what it stores when it closes.
#include <QAbstractItemView>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QGuiApplication>
#include <QLineEdit>
#include <QRadioButton>
#include <QScreen>
#include <QSignalSpy>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTimer>
#include <QToolButton>
#include <QtTest>
#include <memory>

#include "controls/pathfield.h"
#include "controls/popupmanager.h"
#include "settings/extrasettings.h"
#include "settings/readxml.h"
#include "settings/settingdevwidget.h"
#include "settings/textchoices.h"
#include "testenvironment.h"

namespace {

mediaMessage media(const char* name, int code, const QStringList& resolutions) {
    mediaMessage entry;
    entry.mediaName = name;
    entry.mediaType = code;
    entry.resolutions = resolutions;
    return entry;
}

devMessage camera(const char* name, const char* id, std::vector<mediaMessage> formats) {
    devMessage entry;
    entry.devName = name;
    entry.pidvid = id;
    entry.vecMediaType = std::move(formats);
    return entry;
}

// Two cameras as the view reports them: the second lists its formats in another order.
std::vector<devMessage> twoCameras() {
    return {camera("Desk", "fa11&0c01",
                   {media("MJPG", 2, {"3840 x 2160", "1920 x 1080", "1280 x 720"}),
                    media("YUY2", 1, {"1280 x 720", "640 x 480"})}),
            camera("Wall", "fa11&0c02",
                   {media("YUY2", 1, {"800 x 600", "640 x 480"}),
                    media("MJPG", 2, {"1920 x 1080", "1280 x 720", "640 x 480"})})};
}

QToolButton* buttonWithText(QWidget* panel, const QString& text) {
    for (QToolButton* button : panel->findChildren<QToolButton*>())
        if (button->text() == text)
            return button;
    return nullptr;
}

}  // namespace

class TestSettingsPanel : public QObject {
    Q_OBJECT

private:
    QTemporaryDir m_home;
    QString m_configPath;
    ReadXML* s = ReadXML::instance();
    ExtraSettings m_extra;  // handed to each panel as the left tool bar hands the view's

    QByteArray configFile() const { return testenvironment::fileBytes(m_configPath); }

    void store(const char* name, const char* id, int format, const char* resolution) {
        s->devName = name;
        s->devPIDVID = id;
        s->videoFormat = format;
        s->resolution = resolution;
        QVERIFY(s->writeData(m_configPath.toUtf8().constData()));
    }

    // A panel filled from the cameras, shown as the left tool bar shows it.
    std::unique_ptr<settingDevWidget> openPanel(const std::vector<devMessage>& cameras) {
        auto panel = std::make_unique<settingDevWidget>();
        panel->setExtraSettings(&m_extra);
        // Stored as the view stores the left bar's report of it.
        connect(panel.get(), &settingDevWidget::showAllToolsChosen, &m_extra,
                &ExtraSettings::setShowAllTools);
        panel->getDevMessages(cameras);
        panel->show();
        if (!QTest::qWaitForWindowExposed(panel.get()))
            return nullptr;
        return panel;
    }

    static QComboBox* devices(settingDevWidget& panel) { return panel.comboBox_device; }
    static QComboBox* formats(settingDevWidget& panel) { return panel.comboBox_format; }
    static QComboBox* resolutions(settingDevWidget& panel) { return panel.comboBox_resolution; }

    static QStringList items(QComboBox* box) {
        QStringList texts;
        for (int i = 0; i < box->count(); ++i)
            texts << box->itemText(i);
        return texts;
    }

    QString defaultFolder() const { return QDir(m_home.path()).filePath("Documents/Pagelux"); }

private slots:
    void initTestCase() {
        qunsetenv("XDG_CONFIG_HOME");
        qunsetenv("XDG_DOCUMENTS_DIR");
        m_configPath = testenvironment::isolate(m_home.path());
    }

    void init() {
        QDir(m_home.path()).removeRecursively();
        QDir().mkpath(m_home.path());
        s->savePath = "/srv/scans";
        s->customPrefix = "page";
        s->bsaveType = true;
        s->language = "en";
        store("", "", 0, "");
    }

    void openingAndClosingWritesTheSameValues() {
        store("Wall", "fa11&0c02", 2, "1280 x 720");
        const QByteArray before = configFile();
        openPanel(twoCameras()).reset();
        QCOMPARE(configFile(), before);
        QCOMPARE(QString::fromStdString(s->savePath), QString("/srv/scans"));
    }

    void rememberedCameraIsSelectedWithoutSignal() {
        store("Wall", "fa11&0c02", 2, "1280 x 720");
        settingDevWidget panel;
        QSignalSpy changes(&panel, &settingDevWidget::singalChangeCamera);
        panel.getDevMessages(twoCameras());
        panel.show();
        QVERIFY(QTest::qWaitForWindowExposed(&panel));
        QCOMPARE(items(devices(panel)), QStringList({"Desk", "Wall"}));
        QCOMPARE(devices(panel)->currentIndex(), 1);
        QCOMPARE(items(formats(panel)), QStringList({"YUY2", "MJPG"}));
        QCOMPARE(formats(panel)->currentText(), QString("MJPG"));
        QCOMPARE(items(resolutions(panel)), QStringList({"1920 x 1080", "1280 x 720", "640 x 480"}));
        QCOMPARE(resolutions(panel)->currentText(), QString("1280 x 720"));
        QCOMPARE(panel.locationEdit->text(), QString("/srv/scans"));
        QVERIFY(panel.radio_prefix->isChecked());
        QCOMPARE(panel.prefixEdit->text(), QString("page"));
        QCOMPARE(changes.count(), 0);
    }

    void storedChoiceThatNoLongerFits_data() {
        QTest::addColumn<QByteArray>("id");
        QTest::addColumn<int>("format");
        QTest::addColumn<QByteArray>("resolution");
        QTest::addColumn<int>("device");
        QTest::addColumn<QString>("shownFormat");
        QTest::addColumn<QString>("shownResolution");
        QTest::addColumn<QByteArray>("storedResolution");
        QTest::newRow("camera gone: the first of everything")
            << QByteArray("dead&beef") << 1 << QByteArray("640 x 480") << 0 << "MJPG"
            << "3840 x 2160" << QByteArray("3840 x 2160");
        QTest::newRow("resolution no longer offered: none selected, stored empty")
            << QByteArray("fa11&0c02") << 1 << QByteArray("3840 x 2160") << 1 << "YUY2"
            << "" << QByteArray();
    }

    void storedChoiceThatNoLongerFits() {
        QFETCH(QByteArray, id);
        QFETCH(int, format);
        QFETCH(QByteArray, resolution);
        QFETCH(int, device);
        QFETCH(QString, shownFormat);
        QFETCH(QString, shownResolution);
        QFETCH(QByteArray, storedResolution);
        store("Somewhere", id.constData(), format, resolution.constData());
        {
            std::unique_ptr<settingDevWidget> panel = openPanel(twoCameras());
            QVERIFY(panel);
            QCOMPARE(devices(*panel)->currentIndex(), device);
            QCOMPARE(formats(*panel)->currentText(), shownFormat);
            QCOMPARE(resolutions(*panel)->currentText(), shownResolution);
        }
        QCOMPARE(QByteArray::fromStdString(s->resolution), storedResolution);
    }

    // One user action, one change signal: list refreshes never signal on their own.
    void oneSignalPerUserAction_data() {
        QTest::addColumn<QString>("box");
        QTest::addColumn<int>("index");
        QTest::addColumn<QList<int>>("signalled");
        QTest::newRow("another camera: its first format and resolution")
            << "device" << 1 << QList<int>({1, 1, 0, 800, 600});
        QTest::newRow("another format: its first resolution")
            << "format" << 1 << QList<int>({0, 1, 0, 1280, 720});
        QTest::newRow("resolution 1280 x 720") << "resolution" << 2 << QList<int>({0, 2, 0, 1280, 720});
    }

    void oneSignalPerUserAction() {
        QFETCH(QString, box);
        QFETCH(int, index);
        QFETCH(QList<int>, signalled);
        std::unique_ptr<settingDevWidget> panel = openPanel(twoCameras());
        QVERIFY(panel);
        QSignalSpy changes(panel.get(), &settingDevWidget::singalChangeCamera);
        QComboBox* target = box == "device"   ? devices(*panel)
                            : box == "format" ? formats(*panel)
                                              : resolutions(*panel);
        target->setCurrentIndex(index);
        QCOMPARE(changes.count(), 1);
        QList<int> values;
        for (const QVariant& value : changes.first())
            values << value.toInt();
        QCOMPARE(values, signalled);
    }

    void closingStoresTheChoices() {
        {
            std::unique_ptr<settingDevWidget> panel = openPanel(twoCameras());
            QVERIFY(panel);
            devices(*panel)->setCurrentIndex(1);
            formats(*panel)->setCurrentIndex(1);
            resolutions(*panel)->setCurrentIndex(2);
            panel->radio_data->setChecked(true);
            panel->prefixEdit->setText("scan_7");
        }
        QCOMPARE(QString::fromStdString(s->devName), QString("Wall"));
        QCOMPARE(QString::fromStdString(s->devPIDVID), QString("fa11&0c02"));
        QCOMPARE(s->videoFormat, 2);
        QCOMPARE(QString::fromStdString(s->resolution), QString("640 x 480"));
        QCOMPARE(s->bsaveType, false);
        QCOMPARE(QString::fromStdString(s->customPrefix), QString("scan_7"));
        const QByteArray file = configFile();
        QVERIFY2(file.contains("<PIDVID>fa11&amp;0c02</PIDVID>") &&
                     file.contains("<CustomPrefix>scan_7</CustomPrefix>") &&
                     file.contains("<Resolution>640 x 480</Resolution>") &&
                     file.contains("<SaveType>0</SaveType>"),
                 file.constData());
    }

    void withoutCamerasOnlyTheGeneralPageIsStored() {
        store("Wall", "fa11&0c02", 2, "1280 x 720");
        {
            std::unique_ptr<settingDevWidget> panel = openPanel({});
            QVERIFY(panel);
            QSignalSpy changes(panel.get(), &settingDevWidget::singalChangeCamera);
            QCOMPARE(devices(*panel)->count(), 0);
            QCOMPARE(formats(*panel)->count(), 0);
            QCOMPARE(resolutions(*panel)->count(), 0);
            panel->radio_data->setChecked(true);
            QCOMPARE(changes.count(), 0);
        }
        QCOMPARE(QString::fromStdString(s->devPIDVID), QString("fa11&0c02"));
        QCOMPARE(QString::fromStdString(s->resolution), QString("1280 x 720"));
        QCOMPARE(s->bsaveType, false);
    }

    void prefixField_data() {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("kept");
        QTest::newRow("letters, digits and underscore") << "Scan_2024"
                                                        << "Scan_2024";
        QTest::newRow("a hyphen is refused") << "a-b"
                                             << "ab";
        QTest::newRow("a blank is refused") << "a b"
                                            << "ab";
        QTest::newRow("a non-ASCII letter is refused") << "aéb"
                                                       << "ab";
        QTest::newRow("a dot or slash is refused") << "../x"
                                                   << "x";
    }

    void prefixField() {
        QFETCH(QString, typed);
        QFETCH(QString, kept);
        std::unique_ptr<settingDevWidget> panel = openPanel(twoCameras());
        QVERIFY(panel);
        panel->prefixEdit->clear();
        // Typed one key at a time, as a keyboard does, also letters without a key of their own.
        for (const QChar c : typed)
            QTest::sendKeyEvent(QTest::Click, panel->prefixEdit, Qt::Key_unknown, c, {});
        QCOMPARE(panel->prefixEdit->text(), kept);
    }

    void emptyPrefixIsStoredEmptyAndShownAsImage() {
        {
            std::unique_ptr<settingDevWidget> panel = openPanel(twoCameras());
            QVERIFY(panel);
            panel->prefixEdit->clear();
        }
        QVERIFY(s->customPrefix.empty());
        QVERIFY(configFile().contains("<CustomPrefix></CustomPrefix>") ||
                configFile().contains("<CustomPrefix/>"));
        std::unique_ptr<settingDevWidget> panel = openPanel(twoCameras());
        QVERIFY(panel);
        QCOMPARE(panel->prefixEdit->text(), QString("image"));
    }

    void defaultChoosesTheFirstCameraDatePrefixAndDocumentsFolder() {
        store("Wall", "fa11&0c02", 2, "1280 x 720");
        std::unique_ptr<settingDevWidget> panel = openPanel(twoCameras());
        QVERIFY(panel);
        QSignalSpy changes(panel.get(), &settingDevWidget::singalChangeCamera);
        QVERIFY(!QFileInfo::exists(defaultFolder()));
        QTest::mouseClick(buttonWithText(panel.get(), "Default"), Qt::LeftButton);
        QCOMPARE(changes.count(), 1);
        QCOMPARE(changes.first().at(0).toInt(), 0);
        QCOMPARE(changes.first().at(1).toInt(), 2);
        QCOMPARE(changes.first().at(3).toInt(), 3840);
        QCOMPARE(devices(*panel)->currentIndex(), 0);
        QVERIFY(panel->radio_data->isChecked());
        QVERIFY(!panel->radio_prefix->isChecked());
        QCOMPARE(panel->locationEdit->text(), defaultFolder());
        QVERIFY(QFileInfo(defaultFolder()).isDir());
        QCOMPARE(panel->prefixEdit->text(), QString("page"));
        panel.reset();
        QCOMPARE(QString::fromStdString(s->savePath), defaultFolder());
    }

    // A file where the folder should be: the folder cannot be made and nothing the panel showed changes.
    void defaultKeepsTheShownFolderWhenItCannotMakeOne() {
        QDir().mkpath(QFileInfo(defaultFolder()).path());
        QFile blocker(defaultFolder());
        QVERIFY(blocker.open(QIODevice::WriteOnly));
        blocker.close();
        std::unique_ptr<settingDevWidget> panel = openPanel(twoCameras());
        QVERIFY(panel);
        QTest::ignoreMessage(QtWarningMsg, QRegularExpression("创建目录失败:"));
        QTest::mouseClick(buttonWithText(panel.get(), "Default"), Qt::LeftButton);
        QCOMPARE(panel->locationEdit->text(), QString("/srv/scans"));
        QVERIFY(panel->radio_prefix->isChecked());
    }

    // The resolution list opens below its box, as wide as the box, and inside the screen.
    void resolutionListOpensBelowItsBox_data() {
        QTest::addColumn<int>("panelY");
        QTest::newRow("room below") << 0;
        QTest::newRow("near the bottom edge: shortened") << 1;
    }

    void resolutionListOpensBelowItsBox() {
        QFETCH(int, panelY);
        std::unique_ptr<settingDevWidget> panel = openPanel(twoCameras());
        QVERIFY(panel);
        const QRect available = QGuiApplication::primaryScreen()->availableGeometry();
        QComboBox* box = resolutions(*panel);
        // Near the bottom: the box's lower edge 40 pixels above the screen's.
        if (panelY != 0)
            panel->move(0, available.bottom() - 40 - box->mapTo(panel.get(), QPoint(0, box->height())).y());
        box->showPopup();
        QWidget* list = box->view()->window();
        const QPoint corner = box->mapToGlobal(QPoint(0, box->height()));
        QTRY_COMPARE(list->geometry().topLeft(), corner);
        QCOMPARE(list->width(), box->width());
        QVERIFY(available.contains(list->geometry()));
        const int rows = panelY == 0 ? box->count() : 1;
        QVERIFY2(list->height() >= rows * box->view()->sizeHintForRow(0),
                 qPrintable(QString::number(list->height())));
        box->hidePopup();
    }

    // The Capture tab shows only with all tools shown, also when the switch changes on the open panel.
    void captureTabFollowsTheToolsSwitch_data() {
        QTest::addColumn<bool>("switchOn");
        QTest::newRow("all tools shown") << true;
        QTest::newRow("basic tools only") << false;
    }
    void captureTabFollowsTheToolsSwitch() {
        QFETCH(bool, switchOn);
        m_extra.setShowAllTools(switchOn);
        std::unique_ptr<settingDevWidget> panel = openPanel(twoCameras());
        QVERIFY(panel);
        auto* captureTab = panel->findChild<QToolButton*>("CaptureButton");
        QVERIFY(captureTab != nullptr);
        QCOMPARE(captureTab->isVisible(), switchOn);
        panel->findChild<QCheckBox*>("checkBox_showAllTools")->click();
        QCOMPARE(captureTab->isVisible(), !switchOn);
        if (captureTab->isVisible()) {
            captureTab->click();
            QVERIFY(panel->findChild<QCheckBox*>("checkBox_cropPages")->isVisible());
        }
        m_extra.setShowAllTools(false);
    }

    // Each choice of the Capture tab is stored as it is made; a choice stored elsewhere (the view's
    // K and A keys) shows on the open tab; Default takes it back to its default.
    void captureChoicesAreStoredAndShown_data() {
        QTest::addColumn<QString>("control");
        QTest::addColumn<QString>("key");
        QTest::addColumn<QString>("entry");  // the entry chosen in a list; empty: a check box
        QTest::addColumn<QString>("stored");
        QTest::addColumn<QString>("byDefault");  // shown after Default
        QTest::newRow("crop") << "checkBox_cropPages"
                              << "capture/cropPages"
                              << ""
                              << "true"
                              << "0";
        QTest::newRow("automatic capture") << "checkBox_autoCapture"
                                           << "capture/autoCapture"
                                           << ""
                                           << "true"
                                           << "0";
        QTest::newRow("hold time") << "comboBox_holdSeconds"
                                   << "capture/holdSeconds"
                                   << "2.5 s"
                                   << "2.5"
                                   << "1.0 s";
        QTest::newRow("spreads") << "checkBox_splitSpreads"
                                 << "capture/splitSpreads"
                                 << ""
                                 << "true"
                                 << "0";
        QTest::newRow("quality") << "comboBox_jpegQuality"
                                 << "capture/jpegQuality"
                                 << "75"
                                 << "75"
                                 << "90";
        QTest::newRow("resolution") << "comboBox_dpi"
                                    << "capture/dpi"
                                    << "300"
                                    << "300"
                                    << "96";
    }
    void captureChoicesAreStoredAndShown() {
        QFETCH(QString, control);
        QFETCH(QString, key);
        QFETCH(QString, entry);
        QFETCH(QString, stored);
        QFETCH(QString, byDefault);
        ExtraSettings* extra = &m_extra;
        for (const char* choice : {"capture/cropPages", "capture/autoCapture", "capture/holdSeconds",
                                   "capture/splitSpreads", "capture/jpegQuality", "capture/dpi"})
            extra->remove(choice);
        std::unique_ptr<settingDevWidget> panel = openPanel(twoCameras());
        QVERIFY(panel);
        auto* box = panel->findChild<QCheckBox*>(control);
        auto* list = panel->findChild<QComboBox*>(control);
        QVERIFY(box != nullptr || list != nullptr);
        const auto shown = [box, list] {
            return box != nullptr ? QString::number(box->isChecked()) : list->currentText();
        };
        if (box != nullptr) {
            box->click();
        } else {
            // Chosen as a user does: the list opened, the entry clicked.
            list->showPopup();
            const QModelIndex index = list->model()->index(list->findText(entry), 0);
            QVERIFY(index.isValid());
            list->view()->scrollTo(index);
            QTest::mouseClick(list->view()->viewport(), Qt::LeftButton, {},
                              list->view()->visualRect(index).center());
        }
        QCOMPARE(extra->value(key).toString(), stored);
        QCOMPARE(shown(), box != nullptr ? QString("1") : entry);
        // Stored elsewhere, as by the view's keys: the open tab follows.
        extra->remove(key);
        extra->setValue(key, box != nullptr ? QVariant(false) : QVariant(list->itemData(0)));
        QCOMPARE(shown(), box != nullptr ? QString("0") : list->itemText(0));
        extra->setValue(key, stored);
        QTest::mouseClick(buttonWithText(panel.get(), "Default"), Qt::LeftButton);
        QCOMPARE(shown(), byDefault);
    }

    // Default takes the Text group back to the interface language and English, and searchable PDFs
    // on, whatever the user ticked before.
    void defaultRestoresTheTextChoices_data() {
        QTest::addColumn<QString>("interfaceLanguage");
        QTest::addColumn<QStringList>("clicked");  // language boxes the user clicks first
        QTest::addColumn<QStringList>("byDefault");
        QTest::newRow("English unticked") << "en" << QStringList{"en"} << QStringList{"en"};
        QTest::newRow("Russian interface, Chinese ticked, Russian unticked")
            << "ru" << QStringList{"zh_CN", "ru"} << QStringList{"ru", "en"};
        QTest::newRow("Chinese interface, all unticked")
            << "zh_CN" << QStringList{"zh_CN", "en"} << QStringList{"zh_CN", "en"};
    }
    void defaultRestoresTheTextChoices() {
        QFETCH(QString, interfaceLanguage);
        QFETCH(QStringList, clicked);
        QFETCH(QStringList, byDefault);
        s->language = interfaceLanguage.toStdString();
        const TextChoices text(&m_extra);
        m_extra.remove(TextChoices::kLanguagesKey);
        text.setSearchablePdf(false);
        std::unique_ptr<settingDevWidget> panel = openPanel(twoCameras());
        QVERIFY(panel);
        const auto tickedBoxes = [&panel] {
            QStringList codes;
            for (QCheckBox* box : panel->findChildren<QCheckBox*>(QRegularExpression("^checkBox_text_")))
                if (box->isChecked())
                    codes << box->objectName().section('_', 2);
            codes.sort();
            return codes;
        };
        for (const QString& code : clicked)
            panel->findChild<QCheckBox*>("checkBox_text_" + code)->click();
        QVERIFY(text.languages() != byDefault);
        QTest::mouseClick(buttonWithText(panel.get(), "Default"), Qt::LeftButton);
        QCOMPARE(text.languages(), byDefault);
        byDefault.sort();
        QCOMPARE(tickedBoxes(), byDefault);
        QVERIFY(text.searchablePdf());
    }

    // A value edited by hand in the settings file shows in its place in the list.
    void handEditedValueShowsInItsList() {
        m_extra.setValue("capture/jpegQuality", 93);
        std::unique_ptr<settingDevWidget> panel = openPanel(twoCameras());
        QVERIFY(panel);
        auto* list = panel->findChild<QComboBox*>("comboBox_jpegQuality");
        QCOMPARE(list->currentText(), QString("93"));
        QCOMPARE(list->itemText(list->currentIndex() - 1), QString("90"));
        QCOMPARE(list->itemText(list->currentIndex() + 1), QString("95"));
        m_extra.remove("capture/jpegQuality");
    }

    // A long save folder shows its start and its end, the middle elided, and in full as a tool tip.
    void longSaveFolderShowsStartAndEnd() {
        const QString folder =
            "/home/teacher/Documents/school year 2026/class 4b/mathematics/fractions/"
            "worksheets of the third week";
        s->savePath = folder.toStdString();
        std::unique_ptr<settingDevWidget> panel = openPanel(twoCameras());
        QVERIFY(panel);
        buttonWithText(panel.get(), "General")->click();
        auto* field = qobject_cast<PathField*>(panel->locationEdit);
        QVERIFY(field != nullptr);
        QCOMPARE(field->text(), folder);
        QCOMPARE(field->toolTip(), folder);
        QVERIFY(!field->hasFocus());
        const QString shown = field->shownText();
        QVERIFY2(shown.startsWith("/home/") && shown.endsWith("week") && shown.contains(QChar(0x2026)),
                 qPrintable(shown));
        QVERIFY(field->fontMetrics().horizontalAdvance(shown) <= field->width());
    }

    void browseTakesTheChosenFolderAndCentresTheDialog() {
        const QString chosen = QDir(m_home.path()).filePath("chosen");
        QVERIFY(QDir().mkpath(chosen));
        std::unique_ptr<settingDevWidget> panel = openPanel(twoCameras());
        QVERIFY(panel);
        PopupManager::instance()->registerPopup(panel.get());
        QRect dialogFrame;
        bool panelOpenDuringDialog = false;
        bool pressOutsidePanel = false;
        panel->move(0, 0);
        QTimer::singleShot(300, [&] {
            auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
            if (dialog == nullptr)
                return;
            dialogFrame = dialog->frameGeometry();
            // A press inside the dialog lies outside the panel, and must not close it.
            const QPoint corner(dialog->width() - 5, dialog->height() - 5);
            pressOutsidePanel = !panel->frameGeometry().contains(dialog->mapToGlobal(corner));
            QTest::mouseClick(dialog, Qt::LeftButton, {}, corner);
            panelOpenDuringDialog = panel->isVisible();
            dialog->setDirectory(chosen);
            QMetaObject::invokeMethod(dialog, "accept");
        });
        QTest::mouseClick(buttonWithText(panel.get(), "Browser"), Qt::LeftButton);
        QVERIFY(pressOutsidePanel);
        QVERIFY(panelOpenDuringDialog);
        QCOMPARE(dialogFrame.center(), QGuiApplication::primaryScreen()->availableGeometry().center());
        QCOMPARE(panel->locationEdit->text(), chosen);
        panel.reset();
        QCOMPARE(QString::fromStdString(s->savePath), chosen);
    }
};

QTEST_MAIN(TestSettingsPanel)
#include "tst_settingspanel.moc"
