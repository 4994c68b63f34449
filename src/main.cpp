// Entry point: the application object and the full-screen main view.
#include <QApplication>
#include <cstdio>

#include "liveview/videowidget.h"

int main(int argc, char* argv[]) {
    // Diagnostic lines come from several threads; each should reach a pipe whole and in order.
    setvbuf(stdout, nullptr, _IOLBF, 0);
    QApplication app(argc, argv);
    QApplication::setAttribute(Qt::AA_EnableHighDpiScaling, true);
    QApplication::setAttribute(Qt::AA_UseHighDpiPixmaps, true);
    VideoWidget view;
    view.showFullScreen();
    return app.exec();
}
