// SPDX-License-Identifier: GPL-3.0-or-later
// Entry point: the application object and the full-screen main view.
#include <QApplication>
#include <QCommandLineParser>
#include <QIcon>
#include <cstdio>

#include "app/memorytrim.h"
#include "app/screenplacement.h"
#include "controls/geometryprobe.h"
#include "controls/keyboardhandover.h"
#include "controls/popupmanager.h"
#include "controls/quitonsignal.h"
#include "controls/windowplatform.h"
#include "liveview/videowidget.h"
#include "settings/extrasettings.h"

namespace {

void describeCommandLine(QCommandLineParser& parser) {
    parser.setApplicationDescription(
        QStringLiteral("Shows a USB document camera full screen. Without options, opens the view."));
    // -stylesheet, one of Qt's own options, is not -s -t … -h …: a word after one dash is one option.
    parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
    parser.addHelpOption();
    parser.addVersionOption();
}

// --help and --version answer on standard output and end the program before a display is needed, so
// they work in a text console too. Qt's own options (-platform, -style …) are not known here: they are
// QApplication's, which takes them out of the arguments; what then remains is checked in full.
void answerWithoutDisplay(int& argc, char* argv[]) {
    QCommandLineParser parser;
    describeCommandLine(parser);
    QStringList arguments;
    for (int i = 0; i < argc; ++i)
        arguments << QString::fromLocal8Bit(argv[i]);
    parser.parse(arguments);
    const bool help = parser.isSet(QStringLiteral("help"));
    if (!help && !parser.isSet(QStringLiteral("version")))
        return;
    QCoreApplication core(argc, argv);  // the program's name in the answer
    if (help)
        parser.showHelp();
    parser.showVersion();
}

}  // namespace

int main(int argc, char* argv[]) {
    // Diagnostic lines come from several threads; each should reach a pipe whole and in order.
    setvbuf(stdout, nullptr, _IOLBF, 0);
    // Read when the application object is made: set later, they are ignored with a warning and a
    // desktop scaled to 200 % shows the interface at half its size.
    QApplication::setAttribute(Qt::AA_EnableHighDpiScaling, true);
    QApplication::setAttribute(Qt::AA_UseHighDpiPixmaps, true);
    QCoreApplication::setApplicationVersion(QStringLiteral(PAGELUX_VERSION));
    answerWithoutDisplay(argc, argv);
    QApplication app(argc, argv);
    {
        // An option it does not know ends the program with a message on standard error.
        QCommandLineParser parser;
        describeCommandLine(parser);
        parser.process(app);
    }
    // The desktop matches the window to the menu entry and shows the entry's icon for it.
    QGuiApplication::setDesktopFileName(PAGELUX_APP_ID);
    QApplication::setWindowIcon(QIcon(":/image/svg/Pagelux"));
    // The popup registry watches the application's presses before any widget exists.
    PopupManager::instance();
    // Where the windows beside the buttons never get the keyboard, their text fields get the view's keys.
    KeyboardHandover keyboardHandover;
    if (!WindowPlatform::placesOwnWindows())
        app.installEventFilter(&keyboardHandover);
    // Test-only: answers the random-input driver when PAGELUX_DEBUG_GEOMETRY names a socket.
    GeometryProbe::startFromEnvironment(&app);
    // Shut-down and log-out end the program as closing its window does.
    QuitOnSignal quitOnSignal;
    MemoryTrim memoryTrim;
    // What the program remembers beyond the settings file; it outlives the view that uses it.
    ExtraSettings extraSettings;
    extraSettings.open(ExtraSettings::defaultFilePath());
    VideoWidget view(nullptr, &extraSettings);
    ScreenPlacement placement(&view, &extraSettings);
    placement.showFullScreen();
    return app.exec();
}
