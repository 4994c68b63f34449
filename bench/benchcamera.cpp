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

}  // namespace

bool plugSecondBenchCamera() {
    return plug("Second Bench Camera", "be03");
}

bool plugBenchCamera(const QString& saveFolder) {
    if (!plug("Bench Camera", "be02"))
        return false;
    const QString folder = QCoreApplication::applicationDirPath() + "/Configuration";
    QDir().mkpath(folder);
    ReadXML* settings = ReadXML::instance();
    settings->devName = "Bench Camera";
    settings->devPIDVID = "fa11&be02";
    settings->videoFormat = 2;
    settings->resolution = "3840 x 2160";
    settings->language = "en";
    settings->savePath = saveFolder.toStdString();
    settings->bsaveType = true;
    settings->customPrefix = "bench";
    return settings->writeData((folder + "/lastsetting.xml").toUtf8().constData());
}
