// SPDX-License-Identifier: GPL-3.0-or-later
// The desktop's sound inputs, listed by the camera library.
#include "soundsource.h"

#include "optigrab.h"

QVector<SoundSource::Input> SoundSource::inputs() {
    QVector<Input> inputs;
    camListSoundInputs(
        [](const char* name, const char* description, void* list) {
            static_cast<QVector<Input>*>(list)->append(
                {QString::fromUtf8(name), QString::fromUtf8(description)});
        },
        &inputs);
    return inputs;
}
