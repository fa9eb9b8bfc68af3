#pragma once
// The settings dialog's behaviour over a loaded main window (fake engine and
// view, recording hook library), its desktop recording top-most changes.

#include "settings/frmSettings.h"
#include "support/DesktopServices.h"
#include "tests/player/PlayerFixture.h"

#include <memory>
#include <utility>
#include <vector>

namespace lirabox::test {

class RecordingDesktop : public DesktopServices {
public:
    void setWindowAbove(std::uintptr_t window, bool above) override { aboveCalls.emplace_back(window, above); }
    std::int32_t open(const std::string&, const std::string&, std::int32_t, std::function<void()>) override {
        return kOpenSucceeded;
    }
    std::string hostName() override { return "host"; }
    std::vector<std::pair<std::uintptr_t, bool>> aboveCalls;
};

class SettingsTest : public PlayerTest {
protected:
    static constexpr std::uintptr_t kDialogWindow = 77;

    settings::frmSettings::Collaborators parts() { return {form(), view.WindowHandle(), keytap, subclass, desktop}; }

    std::shared_ptr<RecordingDesktop> desktop = std::make_shared<RecordingDesktop>();
};

}  // namespace lirabox::test
