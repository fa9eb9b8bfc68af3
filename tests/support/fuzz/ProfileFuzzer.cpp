// Feeds arbitrary bytes to the INI reader and writer, as text and as files.
// Besides crashes, hangs and sanitizer reports it checks that a stored value
// reads back as stored and that setting one entry changes no other.

#include "support/PrivateProfile.h"
#include "support/ProfileEncoding.h"
#include "support/ProfileText.h"

#include <fuzzer/FuzzedDataProvider.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>

#include <unistd.h>

namespace {

using namespace lirabox;

void check(bool condition, const char* what) {
    if (!condition) {
        std::fprintf(stderr, "broken: %s\n", what);
        std::abort();
    }
}

// A name as the writer stores it.
std::string stored(const std::string& name) { return std::string(untilNul(name)); }

bool sameSection(const std::string& a, const std::string& b) {
    return findProfileValue("[" + stored(a) + "]\nk=1\n", b, "k").has_value();
}

bool sameKey(const std::string& a, const std::string& b) {
    return findProfileValue("[s]\n" + stored(a) + "=1\n", "s", b).has_value();
}

// What a freshly written entry must read back as.
std::optional<std::string> expectedReadBack(const std::string& section, const std::string& key,
                                            const std::string& value) {
    return findProfileValue("[" + stored(section) + "]\n" + stored(key) + "=" + stored(value) + "\n", section, key);
}

void fuzzText(const std::string& text, const std::string& section, const std::string& key, const std::string& value,
              const std::string& otherSection, const std::string& otherKey, int bufferSize) {
    const std::optional<std::string> found = findProfileValue(text, section, key);
    const std::string cut = cutToBufferSize(found.value_or(value), bufferSize);
    check(cut.size() <= static_cast<std::size_t>(bufferSize > 0 ? bufferSize - 1 : 0), "cut length");

    if (!isStorableProfileEntry(section, key, value)) return;
    const std::string updated = setProfileValue(text, section, key, value);
    check(findProfileValue(updated, section, key) == expectedReadBack(section, key, value), "read back");
    if (!(sameSection(section, otherSection) && sameKey(key, otherKey))) {
        check(findProfileValue(updated, otherSection, otherKey) == findProfileValue(text, otherSection, otherKey),
              "other entry unchanged");
    }
}

void fuzzFile(const std::string& text, const std::string& section, const std::string& key, const std::string& value,
              int bufferSize) {
    char folder[] = "/tmp/lirabox-fuzz-XXXXXX";
    check(::mkdtemp(folder) != nullptr, "temporary folder");
    const std::string file = std::string(folder) + "/fuzz.ini";
    {
        std::ofstream out(file, std::ios::binary | std::ios::trunc);
        out << text;
    }
    readPrivateProfileString(section, key, value, bufferSize, file);
    const bool written = writePrivateProfileString(section, key, value, file);
    check(written == isStorableProfileEntry(section, key, value), "write result");
    if (written) {
        // A UTF-16 file holds what UTF-16 can: bytes that are no UTF-8 come back as U+FFFD.
        const ProfileEncoding encoding = decodeProfile(text).encoding;
        std::string expected = expectedReadBack(section, key, value).value_or("");
        if (encoding != ProfileEncoding::Utf8) expected = decodeProfile(encodeProfile({expected, encoding})).text;
        check(readPrivateProfileString(section, key, "", 32767, file) == cutToBufferSize(expected, 32767),
              "file read back");
    }
    ::unlink(file.c_str());
    ::rmdir(folder);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    FuzzedDataProvider input(data, size);
    const bool throughFile = input.ConsumeIntegralInRange<int>(0, 255) == 0;
    const int bufferSize = input.ConsumeIntegral<std::int16_t>();
    const std::string section = input.ConsumeRandomLengthString(64);
    const std::string key = input.ConsumeRandomLengthString(64);
    const std::string value = input.ConsumeRandomLengthString(256);
    const std::string otherSection = input.ConsumeRandomLengthString(64);
    const std::string otherKey = input.ConsumeRandomLengthString(64);
    const std::string text = input.ConsumeRemainingBytesAsString();

    fuzzText(text, section, key, value, otherSection, otherKey, bufferSize);
    if (throughFile) fuzzFile(text, section, key, value, bufferSize);
    return 0;
}
