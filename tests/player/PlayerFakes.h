#pragma once
// Stand-ins for what the main window's behaviour talks to: the view, the
// slider pictures, the hook library, the subclassing, the instance guard,
// Timepost and the settings dialog. They record what they are asked.

#include "player/MainView.h"
#include "player/SettingsDialogSeam.h"
#include "player/ShortcutKeyPorts.h"
#include "player/SingleInstance.h"
#include "player/SliderPicture.h"
#include "player/TextTyper.h"
#include "player/Timepost.h"
#include "support/WindowServices.h"

#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace lirabox::test {

struct ShownMessage {
    std::string text;
    MessageIcon icon;
    std::string title;
};

class FakeView : public MainView {
public:
    std::string lblTimeNow() const override { return timeText; }
    void setLblTimeNow(const std::string& text) override { timeText = text; }
    std::string lblFile() const override { return fileText; }
    void setLblFile(const std::string& text) override { fileText = text; }

    void cboSpeedClear() override {
        speedItems.clear();
        speedText.clear();
        speedIndex = -1;
    }
    void cboSpeedAddItem(const std::string& text) override { speedItems.push_back(text); }
    void cboSpeedSetListIndex(int index) override {
        speedIndex = index;
        speedText = speedItems.at(static_cast<std::size_t>(index));
    }
    std::string cboSpeedText() const override { return speedText; }
    void setCboSpeedText(const std::string& text) override { speedText = text; }

    int chkUseKey() const override { return useKey; }
    void setChkUseKey(int value) override { useKey = value; }

    bool Timer2Enabled() const override { return timer2; }
    void setTimer2Enabled(bool enabled) override { timer2 = enabled; }

    void DoEvents() override {
        ++doEvents;
        if (pendingEvent) {
            auto event = std::move(pendingEvent);
            pendingEvent = nullptr;
            event();
        }
    }

    void MsgBox(const std::string& text, MessageIcon icon, const std::string& title) override {
        messages.push_back({text, icon, title});
    }

    std::optional<std::string> showOpenDialog(const OpenDialogRequest& request) override {
        openRequests.push_back(request);
        return openAnswer;
    }

    std::optional<std::string> showGoToTimeDialog(const std::string& text) override {
        goToTimeShown.push_back(text);
        if (goToTimeAnswers.empty()) return std::nullopt;
        auto answer = goToTimeAnswers.front();
        goToTimeAnswers.erase(goToTimeAnswers.begin());
        return answer;
    }

    void SetFocusTo(ShownWindow window) override { focus.push_back(window); }
    void setRepeatIntervalX1(double twips) override { x1 = twips; }
    void setRepeatIntervalX2(double twips) override { x2 = twips; }
    void setHelpFile(const std::string& path) override { helpFile = path; }
    void setIconFromPicture1() override { iconSet = true; }
    std::uintptr_t WindowHandle() const override { return handle; }
    void closeMainWindow() override { ++closeRequests; }

    std::string timeText = "00:00:00 / 00:00:00";
    std::string fileText = "ファイルがありません";
    std::vector<std::string> speedItems;
    int speedIndex = -1;
    std::string speedText;
    int useKey = 0;
    bool timer2 = false;
    int doEvents = 0;
    // Runs once inside the next DoEvents (an event that was waiting).
    std::function<void()> pendingEvent;
    std::vector<ShownMessage> messages;
    std::optional<std::string> openAnswer;
    std::vector<OpenDialogRequest> openRequests;
    std::vector<ShownWindow> focus;
    // What the go-to-time dialog held each time, and the answers it gives in turn (then: cancelled).
    std::vector<std::string> goToTimeShown;
    std::vector<std::string> goToTimeAnswers;
    double x1 = 0;
    double x2 = 7185;
    std::string helpFile;
    bool iconSet = false;
    std::uintptr_t handle = 0x4a0001;
    int closeRequests = 0;
};

class FakePicture : public SliderPicture {
public:
    FakePicture(double left, double width) : mLeft(left), mWidth(width) {}
    double Width() const override { return mWidth; }
    double Left() const override { return mLeft; }
    void setLeft(double twips) override { mLeft = twips; }
    void Refresh() override { ++refreshes; }

    int refreshes = 0;

private:
    double mLeft;
    double mWidth;
};

// The four pictures of the main window with their layout sizes (twips).
struct MainWindowPictures {
    FakePicture seekbk {0, 7185};
    FakePicture seekpoint {180, 135};
    FakePicture volbk {1440, 1830};
    FakePicture picArrow {105, 135};
};

// Records every call; with `passTo` set, also makes it there (a real binding under test).
class RecordingKeytap : public KeytapApi {
public:
    void InitHook(std::uintptr_t window) override {
        calls.push_back("InitHook(" + std::to_string(window) + ")");
        if (passTo != nullptr) passTo->InitHook(window);
    }
    void TerminateHook() override {
        calls.push_back("TerminateHook()");
        if (passTo != nullptr) passTo->TerminateHook();
    }
    void RegistKey(const ShortcutKeyRecord& record) override {
        calls.push_back("RegistKey(" + std::to_string(record.ID) + "," + std::to_string(record.KeyCode) + "," +
                        std::to_string(record.ShiftStatus) + "," + std::to_string(record.KeyDestroy) + ")");
        if (passTo != nullptr) passTo->RegistKey(record);
    }
    KeyRoute route() override { return passTo != nullptr ? passTo->route() : KeyRoute {}; }
    void onRouteChanged(std::function<void()> handler) override {
        if (passTo != nullptr) passTo->onRouteChanged(std::move(handler));
    }
    std::vector<std::string>& calls;
    KeytapApi* passTo = nullptr;
    explicit RecordingKeytap(std::vector<std::string>& log) : calls(log) {}
};

class RecordingSubclass : public MainWindowSubclass {
public:
    explicit RecordingSubclass(std::vector<std::string>& log) : calls(log) {}
    void SubclassMainWindow(std::uintptr_t window) override {
        calls.push_back("SubclassMainWindow(" + std::to_string(window) + ")");
    }
    void RestoreMainWindowProc(std::uintptr_t window) override {
        calls.push_back("RestoreMainWindowProc(" + std::to_string(window) + ")");
    }
    void setKeyMessageHandler(KeyMessageHandler) override {}
    std::vector<std::string>& calls;
};

class FixedInstanceGuard : public InstanceGuard {
public:
    bool PrevInstance() override { return running; }
    bool running = false;
};

class RecordingTimepost : public TimepostSink {
public:
    void SetTime(double seconds) override { times.push_back(seconds); }
    std::vector<double> times;
};

class FakeTextTyper : public TextTyper {
public:
    void type(const std::string& text) override { typed.push_back(text); }
    std::vector<std::string> typed;
};

class FakeSettingsDialog : public SettingsDialogSeam {
public:
    void open(SettingsTab tab) override { opened.push_back(tab); }
    bool isLoaded() const override { return loaded; }
    void unload() override {
        ++unloads;
        loaded = false;
    }
    bool loaded = false;
    int unloads = 0;
    std::vector<SettingsTab> opened;
};

// One window on a 1920 x 1080 desktop; its placement is whatever was last set.
class FakeWindowServices : public WindowServices {
public:
    FakeWindowServices() { placement.normalPosition = {100, 80, 580, 200}; }
    bool GetWindowPlacement(WindowHandle, WindowPlacement& result) override {
        result = placement;
        return true;
    }
    bool SetWindowPlacement(WindowHandle window, const WindowPlacement& value) override {
        placed.push_back(window);
        placement = value;
        return true;
    }
    bool IsIconic(WindowHandle) override { return false; }
    bool IsZoomed(WindowHandle) override { return false; }
    bool GetWindowRect(WindowHandle, PixelRect& rect) override {
        rect = placement.normalPosition;
        return true;
    }
    PixelRect DesktopClientRect() override { return {0, 0, 1920, 1080}; }
    PixelRect PrimaryScreenRect() override { return {0, 0, 1920, 1080}; }

    WindowPlacement placement;
    std::vector<WindowHandle> placed;
};

}  // namespace lirabox::test
