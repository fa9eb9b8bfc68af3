// The "above" state on a real X server with a window manager (openbox).

#include "support/clsCommonUtil.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <functional>
#include <string>
#include <thread>
#include <vector>

#include <X11/Xatom.h>
#include <X11/Xlib.h>

namespace lirabox {
namespace {

class X11TopMost : public ::testing::Test {
protected:
    void SetUp() override {
        display = XOpenDisplay(nullptr);
        ASSERT_NE(display, nullptr) << "the test needs an X display";
        netWmState = XInternAtom(display, "_NET_WM_STATE", False);
        above = XInternAtom(display, "_NET_WM_STATE_ABOVE", False);
        activeWindow = XInternAtom(display, "_NET_ACTIVE_WINDOW", False);
        wmState = XInternAtom(display, "WM_STATE", False);
        clientStacking = XInternAtom(display, "_NET_CLIENT_LIST_STACKING", False);
    }
    void TearDown() override {
        if (display != nullptr) XCloseDisplay(display);
    }

    Window createWindow(int x) {
        const Window window = XCreateSimpleWindow(display, DefaultRootWindow(display), x, 40, 200, 100, 0, 0, 0);
        XSelectInput(display, window, StructureNotifyMask | PropertyChangeMask);
        XSync(display, False);
        return window;
    }

    std::vector<unsigned long> atoms(Window window, Atom property, Atom type) {
        Atom actualType = None;
        int format = 0;
        unsigned long count = 0;
        unsigned long remaining = 0;
        unsigned char* data = nullptr;
        std::vector<unsigned long> values;
        if (XGetWindowProperty(
                display, window, property, 0, 64, False, type, &actualType, &format, &count, &remaining, &data) ==
                Success &&
            format == 32 && data != nullptr) {
            const auto* items = reinterpret_cast<const unsigned long*>(data);
            values.assign(items, items + count);
        }
        if (data != nullptr) XFree(data);
        return values;
    }

    bool hasAbove(Window window) {
        const std::vector<unsigned long> states = atoms(window, netWmState, XA_ATOM);
        return std::find(states.begin(), states.end(), above) != states.end();
    }

    // Polls the server until `condition` holds (the window manager works on its own).
    bool eventually(const std::function<bool()>& condition) {
        for (int i = 0; i < 1000; ++i) {
            XSync(display, False);
            if (condition()) return true;
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        }
        return false;
    }

    void mapAndWaitUntilManaged(Window window) {
        XMapWindow(display, window);
        ASSERT_TRUE(eventually([&] { return !atoms(window, wmState, wmState).empty(); }));
    }

    // Whether the window manager stacks `window` above every other client.
    bool stackedOnTop(Window window) {
        const std::vector<unsigned long> stacking = atoms(DefaultRootWindow(display), clientStacking, XA_WINDOW);
        return !stacking.empty() && stacking.back() == window;
    }

    unsigned long active() {
        const std::vector<unsigned long> values = atoms(DefaultRootWindow(display), activeWindow, XA_WINDOW);
        return values.empty() ? 0 : values.front();
    }

    // Map and unmap notifications of `window` received so far.
    std::vector<int> mappingEvents(Window window) {
        std::vector<int> types;
        XSync(display, False);
        XEvent event;
        while (XCheckWindowEvent(display, window, StructureNotifyMask, &event)) {
            if (event.type == MapNotify || event.type == UnmapNotify) types.push_back(event.type);
        }
        return types;
    }

    Display* display = nullptr;
    Atom netWmState = None;
    Atom above = None;
    Atom activeWindow = None;
    Atom wmState = None;
    Atom clientStacking = None;
};

TEST_F(X11TopMost, ManagedWindowGoesAboveAndBackWithoutBeingRemappedOrActivated) {
    const Window target = createWindow(40);
    mapAndWaitUntilManaged(target);
    const Window other = createWindow(400);
    mapAndWaitUntilManaged(other);
    ASSERT_TRUE(eventually([&] { return active() == other && stackedOnTop(other); }));
    mappingEvents(target);

    clsCommonUtil util;
    util.setObject(target);
    util.setTopMost(true);
    EXPECT_TRUE(util.TopMost());
    EXPECT_TRUE(eventually([&] { return hasAbove(target) && stackedOnTop(target); }));

    util.setTopMost(false);
    EXPECT_FALSE(util.TopMost());
    EXPECT_TRUE(eventually([&] { return !hasAbove(target); }));

    EXPECT_TRUE(mappingEvents(target).empty());
    EXPECT_EQ(active(), other);
    XWindowAttributes attributes {};
    ASSERT_NE(XGetWindowAttributes(display, target, &attributes), 0);
    EXPECT_EQ(attributes.map_state, IsViewable);
}

TEST_F(X11TopMost, WithdrawnWindowCarriesTheStateInItsPropertyAndKeepsItWhenMapped) {
    const Window target = createWindow(40);
    clsCommonUtil util;
    util.setObject(target);

    util.setTopMost(true);
    XSync(display, False);
    EXPECT_TRUE(hasAbove(target));
    EXPECT_TRUE(mappingEvents(target).empty());

    util.setTopMost(false);
    XSync(display, False);
    EXPECT_FALSE(hasAbove(target));

    util.setTopMost(true);
    mapAndWaitUntilManaged(target);
    EXPECT_TRUE(eventually([&] { return hasAbove(target); }));
}

TEST_F(X11TopMost, UnknownWindowIsIgnored) {
    clsCommonUtil util;
    util.setObject(0x7ffffff0);
    util.setTopMost(true);
    EXPECT_TRUE(util.TopMost());
    clsCommonUtil unset;
    unset.setTopMost(false);
    EXPECT_FALSE(unset.TopMost());
}

}  // namespace
}  // namespace lirabox
