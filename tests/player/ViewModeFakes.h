#pragma once
// Stand-ins for the view switching: the main window's check box, menu marks,
// visibility and one-line window, and a desktop that keeps each window's
// "above" state and the documents it was asked to open.

#include "player/WindowModeView.h"
#include "support/DesktopServices.h"

#include <cstdint>
#include <functional>
#include <map>
#include <string>
#include <vector>

namespace lirabox::test {

class AboveStateDesktop : public DesktopServices {
public:
    void setWindowAbove(std::uintptr_t window, bool isAboveNow) override { above[window] = isAboveNow; }
    std::int32_t open(const std::string& file, const std::string& parameters, std::int32_t showMode,
                      std::function<void()> failedLater) override {
        opened.push_back(file + "|" + parameters + "|" + std::to_string(showMode));
        lateFailure = std::move(failedLater);
        return openResult;
    }
    std::string hostName() override { return {}; }

    bool isAbove(std::uintptr_t window) const {
        const auto found = above.find(window);
        return found != above.end() && found->second;
    }

    std::map<std::uintptr_t, bool> above;
    std::vector<std::string> opened;
    std::int32_t openResult = kOpenSucceeded;
    std::function<void()> lateFailure;  // of the latest open
};

class FakeWindowModes : public WindowModeView {
public:
    int chkOnTop() const override { return onTop; }
    void setChkOnTop(int value) override { onTop = value; }
    void setOnTopCheckMarks(bool checked) override { marks = checked; }
    void setMainWindowVisible(bool visible) override { mainVisible = visible; }
    void loadOneLineWindow() override {
        ++oneLineLoads;
        oneLine = nextOneLine++;
    }
    void unloadOneLineWindow() override { oneLine = 0; }
    std::uintptr_t oneLineWindowHandle() const override { return oneLine; }
    std::string helpFile() const override { return help; }

    int onTop = 0;
    bool marks = false;
    bool mainVisible = true;
    int oneLineLoads = 0;
    std::uintptr_t oneLine = 0;
    std::uintptr_t nextOneLine = 0x600001;
    std::string help;
};

}  // namespace lirabox::test
