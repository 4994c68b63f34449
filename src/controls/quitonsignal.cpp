// SPDX-License-Identifier: GPL-3.0-or-later
// The signal handler only writes a byte to a socket pair; the event loop reads it and quits.
#include "quitonsignal.h"

#include <sys/socket.h>
#include <unistd.h>
#include <QCoreApplication>
#include <QSocketNotifier>
#include <csignal>

#include "controlslog.h"

namespace {

int g_pair[2] = {-1, -1};  // [0] written by the handler, [1] read by the event loop
const int kSignals[] = {SIGTERM, SIGHUP, SIGINT};

}  // namespace

QuitOnSignal::QuitOnSignal(QObject* parent) : QObject(parent) {
    if (::socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0, g_pair) != 0) {
        std::perror("The program cannot watch for the signal to stop");
        return;
    }
    m_notifier = new QSocketNotifier(g_pair[1], QSocketNotifier::Read, this);
    connect(m_notifier, &QSocketNotifier::activated, this, &QuitOnSignal::quit);
    struct sigaction action = {};
    action.sa_handler = &QuitOnSignal::handle;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    for (int signal : kSignals)
        sigaction(signal, &action, nullptr);
}

QuitOnSignal::~QuitOnSignal() {
    for (int signal : kSignals)
        std::signal(signal, SIG_DFL);
    if (g_pair[0] >= 0) {
        ::close(g_pair[0]);
        ::close(g_pair[1]);
        g_pair[0] = g_pair[1] = -1;
    }
}

void QuitOnSignal::handle(int signal) {
    const char byte = static_cast<char>(signal);
    // Nothing else is safe in a signal handler; a full pair means a quit is on its way already.
    [[maybe_unused]] const ssize_t written = ::write(g_pair[0], &byte, 1);
}

void QuitOnSignal::quit() {
    char byte = 0;
    if (::read(g_pair[1], &byte, 1) == 1)
        qCInfo(lcControls, "Signal %d: closing", byte);
    // A second signal while closing ends the program at once, as it would have without this watch.
    for (int signal : kSignals)
        std::signal(signal, SIG_DFL);
    QCoreApplication::quit();
}
