// SPDX-License-Identifier: GPL-3.0-or-later
// The test-only geometry query on a local socket: a line in, a line of JSON out.
#include "geometryprobe.h"

#include <QAbstractButton>
#include <QAbstractItemView>
#include <QAbstractSlider>
#include <QAbstractSpinBox>
#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLineEdit>
#include <QLocalServer>
#include <QLocalSocket>
#include <QTabBar>
#include <QWidget>
#include <cstdio>
#include <fstream>
#include <string>

#include "controlslog.h"
#include "optigrab_sim.h"

#if defined(__SANITIZE_ADDRESS__)
#include <cstddef>
// The sanitizer runtime's count of live heap bytes (GCC ships no header for it).
extern "C" std::size_t __sanitizer_get_current_allocated_bytes();
#endif

namespace {

long long liveHeapBytes() {
#if defined(__SANITIZE_ADDRESS__)
    return static_cast<long long>(__sanitizer_get_current_allocated_bytes());
#else
    return -1;
#endif
}

// Entries of a folder of /proc/self: its threads (task) or open descriptors (fd), the one that lists
// them included.
int procEntries(const char* folder) {
    return QDir(QString("/proc/self/") + folder)
        .entryList(QDir::AllEntries | QDir::System | QDir::NoDotAndDotDot)
        .size();
}

// Mappings of camera buffers: a real camera's from its /dev/video node; a simulated camera's buffer
// is a memfd that its side of the simulator maps as well while the buffer exists.
int cameraBufferMappings() {
    std::ifstream maps("/proc/self/maps");
    int count = 0;
    for (std::string line; std::getline(maps, line);)
        if (line.find("/dev/video") != std::string::npos ||
            line.find("/memfd:optigrab-sim-buffer") != std::string::npos)
            ++count;
    return count;
}

// What a driver can do with a control; empty for widgets that take no input of their own.
QString controlKind(const QWidget* widget) {
    if (qobject_cast<const QAbstractButton*>(widget) != nullptr)
        return QStringLiteral("button");
    if (qobject_cast<const QLineEdit*>(widget) != nullptr ||
        qobject_cast<const QAbstractSpinBox*>(widget) != nullptr)
        return QStringLiteral("text");
    if (qobject_cast<const QComboBox*>(widget) != nullptr)
        return QStringLiteral("combo");
    if (qobject_cast<const QAbstractSlider*>(widget) != nullptr)
        return QStringLiteral("slider");
    if (qobject_cast<const QAbstractItemView*>(widget) != nullptr)
        return QStringLiteral("list");
    if (qobject_cast<const QTabBar*>(widget) != nullptr)
        return QStringLiteral("tabs");
    return {};
}

// Our own classes carry no "Q" prefix: each that is not a control is a bar, panel or popup worth naming.
bool isPanel(const QWidget* widget) {
    return widget->isWindow() ||
           (!QString(widget->metaObject()->className()).startsWith('Q') && controlKind(widget).isEmpty());
}

QJsonObject describe(const QWidget* widget) {
    const QRect rect(widget->mapToGlobal(QPoint(0, 0)), widget->size());
    return QJsonObject{{"class", widget->metaObject()->className()},
                       {"name", widget->objectName()},
                       {"x", rect.x()},
                       {"y", rect.y()},
                       {"w", rect.width()},
                       {"h", rect.height()}};
}

// The nearest bar, panel or window holding the widget (the widget itself when it is one).
const QWidget* panelOf(const QWidget* widget) {
    while (!isPanel(widget))
        widget = widget->parentWidget();
    return widget;
}

// A widget counts only when it and every ancestor show and its window has a size on screen.
bool reallyVisible(const QWidget* widget) {
    return widget->isVisible() && !widget->window()->isMinimized() && widget->width() > 0 &&
           widget->height() > 0;
}

}  // namespace

void GeometryProbe::startFromEnvironment(QObject* parent) {
    const QString path = qEnvironmentVariable("PAGELUX_DEBUG_GEOMETRY");
    if (!path.isEmpty())
        new GeometryProbe(path, parent);
}

GeometryProbe::GeometryProbe(const QString& path, QObject* parent)
    : QObject(parent), m_server(new QLocalServer(this)) {
    QLocalServer::removeServer(path);
    if (!m_server->listen(path)) {
        qCWarning(lcControls, "geometry probe: cannot listen at %s", qPrintable(path));
        return;
    }
    connect(m_server, &QLocalServer::newConnection, this, &GeometryProbe::answer);
    // The event loop answers no more after this: a driver then waits for the exit instead of a reply.
    connect(qApp, &QCoreApplication::aboutToQuit, m_server, &QLocalServer::close);
}

void GeometryProbe::answer() {
    while (QLocalSocket* socket = m_server->nextPendingConnection()) {
        connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
        connect(socket, &QLocalSocket::readyRead, socket, [socket]() {
            while (socket->canReadLine()) {
                if (socket->readLine().trimmed() == "restore")
                    restoreMinimized();
                socket->write(snapshot() + '\n');
            }
        });
    }
}

void GeometryProbe::restoreMinimized() {
    for (QWidget* top : QApplication::topLevelWidgets())
        if (top->isMinimized())
            top->setWindowState(top->windowState() & ~Qt::WindowMinimized);
}

QByteArray GeometryProbe::snapshot() {
    QJsonArray panels;
    QJsonArray controls;
    const QWidget* modal = QApplication::activeModalWidget();
    for (QWidget* top : QApplication::topLevelWidgets()) {
        if (!reallyVisible(top))
            continue;
        QList<QWidget*> widgets{top};
        widgets += top->findChildren<QWidget*>();
        for (const QWidget* widget : widgets) {
            // A popup inside the view's tree is a window of its own: it is listed under itself.
            if (widget->window() != top || !reallyVisible(widget))
                continue;
            if (isPanel(widget))
                panels.append(describe(widget));
            const QString kind = controlKind(widget);
            if (!kind.isEmpty() && widget->isEnabled()) {
                QJsonObject control = describe(widget);
                control.insert("kind", kind);
                control.insert("panel", panelOf(widget)->metaObject()->className());
                controls.append(control);
            }
        }
    }
    // What a slow leak shows in besides the heap: a camera left streaming keeps its stream, its
    // buffers, its descriptors and threads.
    const QJsonObject answer{{"heap", liveHeapBytes()},
                             {"threads", procEntries("task")},
                             {"fds", procEntries("fd")},
                             {"streams", optigrabSimOpenStreams()},
                             {"buffers", cameraBufferMappings()},
                             {"modal", modal != nullptr ? modal->metaObject()->className() : ""},
                             {"panels", panels},
                             {"controls", controls}};
    return QJsonDocument(answer).toJson(QJsonDocument::Compact);
}
