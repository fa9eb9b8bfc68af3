#include "PlayerFixture.h"

#include "support/AppPaths.h"
#include "support/clsIniFile.h"

#include <cstdlib>
#include <fstream>
#include <sstream>

namespace lirabox::test {

PlayerTest::PlayerTest()
    : programDir(folder.file("program")), configHome(folder.file("config")),
      mSavedCwd(std::filesystem::current_path()) {
    std::filesystem::create_directories(programDir);
    std::filesystem::create_directories(configHome);
    setProgramFolder(programDir.string());
    if (const char* home = std::getenv("XDG_CONFIG_HOME")) {
        mHadConfigHome = true;
        mSavedConfigHome = home;
    }
    ::setenv("XDG_CONFIG_HOME", configHome.c_str(), 1);
}

PlayerTest::~PlayerTest() {
    mForm.reset();
    std::filesystem::current_path(mSavedCwd);
    setProgramFolder("");
    if (mHadConfigHome) {
        ::setenv("XDG_CONFIG_HOME", mSavedConfigHome.c_str(), 1);
    } else {
        ::unsetenv("XDG_CONFIG_HOME");
    }
}

frmMain& PlayerTest::form() {
    if (!mForm) {
        mForm = std::make_unique<frmMain>(frmMain::Collaborators {engine,
                                                                  view,
                                                                  pictures.seekbk,
                                                                  pictures.seekpoint,
                                                                  pictures.volbk,
                                                                  pictures.picArrow,
                                                                  windowServices,
                                                                  timepost,
                                                                  instanceGuard,
                                                                  keytap,
                                                                  subclass,
                                                                  &settingsDialog});
    }
    return *mForm;
}

void PlayerTest::restart() {
    mForm.reset();
    view = FakeView {};
    hookCalls.clear();
}

bool PlayerTest::load(const std::string& argumentText) { return form().Form_Load(argumentText); }

void PlayerTest::loadWithFile(double seconds, const std::string& path) {
    ASSERT_TRUE(load());
    engine.setDurationFor(path, seconds);
    form().fileOpen(path);
    ASSERT_TRUE(view.messages.empty());
    engine.clearCalls();
}

std::string PlayerTest::stored(const std::string& file, const std::string& section, const std::string& key) const {
    clsIniFile ini;
    ini.setFilePath((programDir / "").string());
    ini.setFileName(file);
    ini.setNothingWrite(false);
    return ini.ReadString(section, key, "<missing>");
}

void PlayerTest::store(const std::string& file, const std::string& section, const std::string& key,
                       const std::string& value) const {
    clsIniFile ini;
    ini.setFilePath((programDir / "").string());
    ini.setFileName(file);
    ASSERT_TRUE(ini.WriteString(section, key, value));
}

std::string PlayerTest::fileText(const std::filesystem::path& path) const {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

std::vector<std::string> PlayerTest::lastMessages() const {
    std::vector<std::string> texts;
    for (const auto& message : view.messages) texts.push_back(message.text);
    return texts;
}

}  // namespace lirabox::test
