// The program as `cmake --install` and the Debian package lay it out, run
// from a prefix whose bin folder not even root may write to: it finds
// libkeytap.so and libtimepost.so where the install put them, and keeps its
// INI files in the user's configuration folder. The reference Timepost
// publishes the position; F6 is pressed with xdotool while another client has
// the focus. The package is only unpacked into a temporary root, never
// installed on the machine.

#include "tests/common/Desktop.h"
#include "tests/common/InstalledPlayer.h"
#include "tests/common/Recordings.h"
#include "tests/common/TempFolder.h"
#include "tests/hotkeys/ShortcutRows.h"
#include "tests/hotkeys/x11/OtherClient.h"
#include "tests/support/FileHelpers.h"

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

std::string quoted(const fs::path& path) { return "'" + path.string() + "'"; }

void run(const std::string& command) { ASSERT_EQ(std::system(command.c_str()), 0) << command; }

// Locks `bin`, plays a recording with the program in it, moves it on with a
// global key and quits; the settings must land in the configuration folder.
void expectInstalledProgramWorks(const fs::path& bin) {
    ASSERT_EQ(listFolder(bin), "lirabox");
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
        << "position " << publishedPosition(position) << ", before " << before << "\n"
        << player.output();

    // The seek bar's envelope is kept there too, once measured.
    EXPECT_TRUE(waitUntil([&] { return fs::exists(settings / "envelopes.dat"); }));
    pressKeys(window, "ctrl+q");
    EXPECT_EQ(player.waitForExit(pid), 0) << player.output();
    EXPECT_EQ(listFolder(bin), "lirabox");
    EXPECT_EQ(listFolder(settings), "UserCfg.ini config.ini envelopes.dat history.ini position.ini");
    EXPECT_TRUE(fs::exists(player.configFolder() / "Lirabox.ini"));
}

TEST(InstalledProgram, FindsItsLibrariesAndKeepsItsIniFilesInTheUserConfigurationFolder) {
    const TempFolder prefix;
    run(std::string("'") + LIRABOX_CMAKE + "' --install '" + LIRABOX_BUILD_DIR + "' --prefix " + quoted(prefix.path()) +
        " >/dev/null");
    ASSERT_TRUE(fs::exists(prefix.file(LIRABOX_INSTALL_LIBDIR) / "libkeytap.so"));
    ASSERT_TRUE(fs::exists(prefix.file(LIRABOX_INSTALL_LIBDIR) / "libtimepost.so"));
    EXPECT_NE(readText(prefix.file("lib/udev/rules.d/70-lirabox-footpedal.rules"))
                  .find(R"(ATTRS{idVendor}=="05f3", ATTRS{idProduct}=="00ff", TAG+="uaccess")"),
              std::string::npos);
    expectInstalledProgramWorks(prefix.file(LIRABOX_INSTALL_BINDIR));
}

TEST(DebianPackage, NamesItsLibrariesAndUnpacksIntoAProgramThatRunsFromUsr) {
    const TempFolder temp;
    run(std::string("'") + LIRABOX_CPACK + "' -G DEB --config '" + LIRABOX_BUILD_DIR + "/CPackConfig.cmake' -B " +
        quoted(temp.path()) + " >" + quoted(temp.file("cpack.log")) + " 2>&1");
    const std::string architecture = commandOutput("dpkg --print-architecture");
    const fs::path package =
        temp.file("lirabox_" LIRABOX_VERSION "_" + architecture.substr(0, architecture.find('\n')) + ".deb");
    ASSERT_TRUE(fs::exists(package)) << listFolder(temp.path()) << "\n" << readText(temp.file("cpack.log"));

    const std::string depends = commandOutput("dpkg-deb -f " + quoted(package) + " Depends");
    EXPECT_NE(depends.find("libmpv2"), std::string::npos) << depends;
    EXPECT_NE(depends.find("libqt6widgets6"), std::string::npos) << depends;
    EXPECT_EQ(commandOutput("dpkg-deb -f " + quoted(package) + " Section"), "sound\n");
    EXPECT_EQ(commandOutput("dpkg-deb -f " + quoted(package) + " Recommends"), "xdg-utils\n");
    EXPECT_NE(commandOutput("dpkg-deb -f " + quoted(package) + " Homepage"), "");
    // Debian's own check of a package: neither errors nor warnings (info and
    // pedantic notes aside). Its advice not to run as root goes to stderr.
    const std::string lintian = commandOutput("lintian --pedantic " + quoted(package) + " 2>/dev/null");
    EXPECT_EQ(lintian.find("E: "), std::string::npos) << lintian;
    EXPECT_EQ(lintian.find("W: "), std::string::npos) << lintian;

    const fs::path root = temp.file("root");
    run("dpkg-deb -x " + quoted(package) + " " + quoted(root));
    const fs::path usr = root / "usr";
    for (const char* file : {LIRABOX_INSTALL_LIBDIR "/libkeytap.so",
                             LIRABOX_INSTALL_LIBDIR "/libtimepost.so",
                             "share/applications/lirabox.desktop",
                             "share/metainfo/io.github.lirabox.metainfo.xml",
                             "share/man/man1/lirabox.1.gz",
                             "share/icons/hicolor/48x48/apps/lirabox.png",
                             "share/icons/hicolor/scalable/apps/lirabox.svg",
                             "share/doc/lirabox/Lirabox_help.html",
                             "share/doc/lirabox/copyright",
                             "share/doc/lirabox/changelog.gz",
                             "lib/udev/rules.d/70-lirabox-footpedal.rules"}) {
        EXPECT_TRUE(fs::is_regular_file(usr / file)) << file;
    }
    EXPECT_EQ(commandOutput(quoted(usr / "bin/lirabox") + " --version"), "lirabox " LIRABOX_VERSION "\n");
    expectInstalledProgramWorks(usr / LIRABOX_INSTALL_BINDIR);
}

}  // namespace
}  // namespace lirabox::test
