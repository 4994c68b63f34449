// SPDX-License-Identifier: GPL-3.0-or-later
// Where the program keeps what it writes for itself (settings) and where captures go by default.
#pragma once

#include <QString>

namespace StorageFolders {

// The folder of the settings file and of every other file the program writes for itself:
// Configuration/ beside the executable when it exists and can be written (a build tree, a portable
// copy), else the user's configuration folder (~/.config/pagelux), made when missing. An installed
// program's folder is not the user's to write, and each user keeps settings of their own.
QString configurationFolder();

// lastsetting.xml in configurationFolder().
QString settingsFilePath();

// Pagelux in the documents folder, else in the home folder; empty when there is neither. Not created
// here: the caller makes it when it first needs it.
QString defaultSaveFolder();

}  // namespace StorageFolders
