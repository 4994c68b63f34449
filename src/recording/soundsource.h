// SPDX-License-Identifier: GPL-3.0-or-later
// The desktop's sound inputs a recording can take its sound from, as the camera library lists them.
#pragma once

#include <QString>
#include <QVector>

namespace SoundSource {

struct Input {
    QString name;         // what LessonRecorder::Settings::soundSource takes
    QString description;  // what the user reads
};
// The sound inputs of the desktop's sound server (monitors of outputs left out); empty without a
// server. Waits for the server's answer, a few milliseconds.
QVector<Input> inputs();

}  // namespace SoundSource
