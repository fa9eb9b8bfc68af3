#pragma once
// The fixture of the private-profile tests: one file in a fresh folder.

#include "support/PrivateProfile.h"
#include "tests/common/TempFolder.h"

#include <gtest/gtest.h>

#include <string>

namespace lirabox::test {

// A file as a person might write it by hand on another system.
inline const std::string kHandWritten =
    "; Lirabox settings, edited by hand\r\n"
    "\r\n"
    "[config]\r\n"
    "   REWIND   =   5   \r\n"
    "forward=\"3\"\r\n"
    "  autoRev = ' 1 '\r\n"
    "; the next one is unknown to the program\r\n"
    "Colour = blue ; not a comment\r\n"
    "\r\n"
    "[Unknown Section]\r\n"
    "whatever = kept\r\n"
    "\r\n"
    "[ ID00 ]\r\n"
    "id=0\r\n"
    "KeyCode=115\r\n"
    "\r\n"
    "; trailing comment\r\n";

class PrivateProfileFile : public ::testing::Test {
protected:
    std::string read(const std::string& section, const std::string& key, const std::string& defaultValue = "default",
                     int bufferSize = 1024) const {
        return lirabox::readPrivateProfileString(section, key, defaultValue, bufferSize, file);
    }

    TempFolder folder;
    const std::string file = folder.fileText("config.ini");
};

}  // namespace lirabox::test
