// SPDX-License-Identifier: GPL-3.0-or-later
// The outlines of the pages in the photographs of pages/, marked by hand (pages/corners.json), for
// the page tests and the benchmark to score the page finder against.
#pragma once

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QString>

#include "imaging/pagefinder.h"

namespace handmarked {

// The whole page (or spread) marked in photograph, in its stored pixels; false when it is not marked.
inline bool outline(const QString& folder, const QString& photograph, optigrab::Quad* quad) {
    QFile file(folder + "/corners.json");
    if (!file.open(QIODevice::ReadOnly))
        return false;
    const QJsonArray corners = QJsonDocument::fromJson(file.readAll())
                                   .object()
                                   .value(photograph)
                                   .toObject()
                                   .value("outline")
                                   .toArray();
    if (corners.size() != 4)
        return false;
    for (int i = 0; i < 4; ++i)
        (*quad)[i] =
            cv::Point2f(float(corners[i].toArray()[0].toDouble()), float(corners[i].toArray()[1].toDouble()));
    return true;
}

}  // namespace handmarked
