// SPDX-License-Identifier: GPL-3.0-or-later
// The settings store: the last choices of the user, loaded from and saved to lastsetting.xml.
#pragma once

#include <string>

class ReadXML {
public:
    static ReadXML* instance();

    // Loads the file into the fields; true when the file was loaded. Fields without a value in the
    // file keep what they hold.
    bool readData(const char* filePath);
    // Replaces the file with all fields. The file is written whole or not at all: a failed write
    // leaves the previous file as it was.
    bool writeData(const char* filePath);

    bool bsaveType = false;  // file-name prefix of captures: false = date, true = customPrefix
    std::string savePath;
    bool bformatType = false;
    std::string customPrefix;
    std::string devName;
    std::string devPIDVID;   // vendor id, "&", product id
    int videoFormat = 0;     // media-type code, not index
    std::string resolution;  // width, " x ", height
    bool bfrequencyType = false;
    bool bEnablePTZ = false;
    bool bEnableMic = false;
    int compressionType = 0;
    std::string language;
    bool bAutoHideBar = false;

    // The leading decimal integer of text, as the integer fields take it: optional blanks and sign,
    // then digits; text without one gives 0, and numbers beyond int saturate at its limits.
    static int leadingInteger(const char* text);

private:
    ReadXML() = default;
    ReadXML(const ReadXML&) = delete;
    ReadXML& operator=(const ReadXML&) = delete;
};
