// The program installed with `cmake --install` into a prefix whose bin folder
// not even root may write to: it finds libkeytap.so and libtimepost.so where
// the install put them, and keeps its INI files in the user's configuration
// folder. The reference Timepost publishes the position; F6 is pressed with
// xdotool while another client has the focus.

#include "Desktop.h"
#include "FileHelpers.h"
#include "InstalledPlayer.h"
#include "OtherClient.h"
#include "Recordings.h"
#include "ShortcutRows.h"
#include "TempFolder.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <string>

namespace lirabox::test {
namespace {

namespace fs = std::filesystem;

constexpr int kF6 = 117;

// The position the reference Timepost last wrote ("90.100 00:01:30"); -1 before the first.
double publishedPosition(const fs::path& file) {
    if (!fs::exists(file)) return -1;
    const std::string text = readText(file);
    return text.empty() ? -1 : std::stod(text);
}

TEST(InstalledProgram, FindsItsLibrariesAndKeepsItsIniFilesInTheUserConfigurationFolder) {
    const TempFolder prefix;
    const std::string install = std::string("'") + LIRABOX_CMAKE + "' --install '" + LIRABOX_BUILD_DIR +
                                "' --prefix '" + prefix.path().string() + "' >/dev/null";
    ASSERT_EQ(std::system(install.c_str()), 0) << install;
    const fs::path bin = prefix.file(LIRABOX_INSTALL_BINDIR);
    ASSERT_EQ(listFolder(bin), "lirabox");
    ASSERT_TRUE(fs::exists(prefix.file(LIRABOX_INSTALL_LIBDIR) / "libkeytap.so"));
    ASSERT_TRUE(fs::exists(prefix.file(LIRABOX_INSTALL_LIBDIR) / "libtimepost.so"));
    const Immutable locked(bin);
    ASSERT_TRUE(locked.active()) << "chattr +i is not available here";

    InstalledPlayer player(bin / "lirabox");
    const fs::path settings = player.configFolder() / "lirabox";
    fs::create_directories(settings);
    writeText(settings / "config.ini", shortcutRow(4, 4, kF6, 0));
    writeText(settings / "UserCfg.ini", "[Config]\nForward=100\n");
    const fs::path recording = player.scratch("interview.wav");
    writeSineWav(recording, 300, 440.0, 8000, 1);

    const pid_t pid = player.start({recording.string()});
    const XWindow window = waitForWindow(pid, "Lirabox", false);
    ASSERT_NE(window, 0u) << player.output();
    const fs::path position = player.runtimeFolder() / "lirabox" / "position";
    ASSERT_TRUE(waitUntil([&] { return publishedPosition(position) >= 0; })) << player.output();

    OtherClient other;
    ASSERT_TRUE(other.takeFocus());
    const double before = publishedPosition(position);
    xdotool("key F6");
    EXPECT_TRUE(waitUntil([&] { return publishedPosition(position) >= before + 100; }))
        << "position " << publishedPosition(position) << ", before " << before << "\n" << player.output();

    pressKeys(window, "ctrl+q");
    EXPECT_EQ(player.waitForExit(pid), 0) << player.output();
    EXPECT_EQ(listFolder(bin), "lirabox");
    EXPECT_EQ(listFolder(settings), "UserCfg.ini config.ini position.ini");
    EXPECT_TRUE(fs::exists(player.configFolder() / "Lirabox.ini"));
}

}  // namespace
}  // namespace lirabox::test
