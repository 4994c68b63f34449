// SPDX-License-Identifier: GPL-3.0-or-later
// The simulated camera and the settings file of the scenarios that run a real view.
#include "benchcamera.h"

#include <QCoreApplication>
#include <QDir>

#include "optigrab_sim.h"
#include "settings/readxml.h"

namespace {

bool plug(const char* name, const char* productId) {
    OptigrabSimMode mode{2, 3840, 2160, {30, 0, 0, 0}};
    OptigrabSimConfig config;
    optigrabSimDefaultConfig(&config);
    config.name = name;
    config.vendorId = "fa11";
    config.productId = productId;
    config.modes = &mode;
    config.modeCount = 1;
    config.frameClock = 30.0;
    return optigrabSimPlug(&config) >= 0;
}

// The view opens the camera named here, in its 4K MJPEG mode.
bool writeSettings(const char* name, const char* ids, const QString& saveFolder) {
    const QString folder = QCoreApplication::applicationDirPath() + "/Configuration";
    QDir().mkpath(folder);
    ReadXML* settings = ReadXML::instance();
    settings->devName = name;
    settings->devPIDVID = ids;
    settings->videoFormat = 2;
    settings->resolution = "3840 x 2160";
    settings->language = "en";
    settings->savePath = saveFolder.toStdString();
    settings->bsaveType = true;
    settings->customPrefix = "bench";
    return settings->writeData((folder + "/lastsetting.xml").toUtf8().constData());
}

}  // namespace

bool plugSecondBenchCamera() {
    return plug("Second Bench Camera", "be03");
}

bool plugBenchCamera(const QString& saveFolder) {
    return plug("Bench Camera", "be02") && writeSettings("Bench Camera", "fa11&be02", saveFolder);
}

bool plugPageCamera(const QString& framesFolder, const QString& saveFolder) {
    // The simulator's name and ids for a camera that plays recorded frames.
    return optigrabSimPlugFrames(framesFolder.toUtf8().constData(), 30) >= 0 &&
           writeSettings("Recorded Camera", "fa11&0c02", saveFolder);
}
