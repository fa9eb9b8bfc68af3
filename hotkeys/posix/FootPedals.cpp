// Linux: pedals are /dev/hidraw* nodes matched through sysfs; inotify on /dev
// tells when a node appears or udev changes its permissions, and the event
// loop watches every open descriptor.

#include "hotkeys/FootPedals.h"

#include "HidrawNodes.h"
#include "support/Trace.h"

#include <QObject>
#include <QSocketNotifier>
#include <QTimer>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <deque>
#include <map>
#include <set>
#include <string_view>

#include <fcntl.h>
#include <sys/inotify.h>
#include <unistd.h>

namespace lirabox::hotkeys {
namespace {

constexpr std::string_view kHidrawPrefix = "hidraw";
// udev sets a new node's permissions a moment after the node appears.
constexpr int kRescanDelayMs = 500;

std::string knownModels() {
    std::string text;
    for (const PedalDevice& device : knownPedals()) {
        char id[16];
        std::snprintf(id, sizeof id, "%04x:%04x", device.vendor, device.product);
        text += (text.empty() ? "" : ", ") + std::string(device.name) + " " + id;
    }
    return text;
}

}  // namespace

struct FootPedals::Impl {
    struct Open {
        int fd;
        PedalReader reader;
        QSocketNotifier* notifier;
    };

    explicit Impl(PedalActions& pedalActions) : actions(pedalActions) {
        repeat.setSingleShot(true);
        rescan.setSingleShot(true);
        rescan.setInterval(kRescanDelayMs);
        QObject::connect(&repeat, &QTimer::timeout, &context, [this] {
            actions.tick(PedalActions::Clock::now());
            scheduleRepeat();
        });
        QObject::connect(&rescan, &QTimer::timeout, &context, [this] { openNewPedals(); });
    }

    ~Impl() {
        for (auto& [path, open] : pedals) {
            delete open.notifier;
            ::close(open.fd);
        }
        if (inotifyFd >= 0) {
            delete inotifyNotifier;
            ::close(inotifyFd);
        }
    }

    void tellOnce(const std::string& line) {
        if (told.insert(line).second) trace("foot pedals: " + line);
    }

    void watchForNewNodes() {
        inotifyFd = ::inotify_init1(IN_NONBLOCK | IN_CLOEXEC);
        if (inotifyFd >= 0 && ::inotify_add_watch(inotifyFd, "/dev", IN_CREATE | IN_ATTRIB) < 0) {
            ::close(inotifyFd);
            inotifyFd = -1;
        }
        if (inotifyFd < 0) {
            tellOnce(std::string("a pedal plugged in later is not noticed: ") + std::strerror(errno));
            return;
        }
        inotifyNotifier = new QSocketNotifier(inotifyFd, QSocketNotifier::Read, &context);
        QObject::connect(inotifyNotifier, &QSocketNotifier::activated, &context, [this] { readNodeEvents(); });
    }

    void readNodeEvents() {
        alignas(inotify_event) char buffer[4096];
        ssize_t count = 0;
        bool hidraw = false;
        while ((count = ::read(inotifyFd, buffer, sizeof buffer)) > 0) {
            for (ssize_t at = 0; at < count;) {
                const auto* event = reinterpret_cast<const inotify_event*>(buffer + at);
                hidraw = hidraw || (event->len > 0 && std::string_view(event->name).starts_with(kHidrawPrefix));
                at += static_cast<ssize_t>(sizeof(inotify_event) + event->len);
            }
        }
        if (hidraw) rescan.start();
    }

    // Returns how many known pedals there are, open or not.
    std::size_t openNewPedals() {
        const std::vector<PedalNode> nodes = findPedalNodes();
        for (const PedalNode& node : nodes) {
            if (pedals.contains(node.path)) continue;
            const int fd = ::open(node.path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
            if (fd < 0) {
                tellOnce(std::string(node.device->name) + " at " + node.path + " cannot be opened (" +
                         std::strerror(errno) + "); the udev rule 70-lirabox-footpedal.rules gives the "
                         "desktop's user access");
                continue;
            }
            watch(fd, *node.device, node.path);
        }
        return nodes.size();
    }

    void watch(int fd, const PedalDevice& device, const std::string& name) {
        if (const auto old = pedals.find(name); old != pedals.end()) close(old);
        auto* notifier = new QSocketNotifier(fd, QSocketNotifier::Read, &context);
        pedals.emplace(name, Open{fd, PedalReader(device), notifier});
        QObject::connect(notifier, &QSocketNotifier::activated, &context, [this, name] { readPedal(name); });
        tellOnce("using " + std::string(device.name) + " at " + name);
    }

    void readPedal(const std::string& name) {
        const auto found = pedals.find(name);
        if (found == pedals.end()) return;
        Open& open = found->second;
        for (const PedalEvent& event : open.reader.readOnce(open.fd)) pending.push_back(event);
        if (open.reader.ended()) {
            trace("foot pedals: " + name + " ended" +
                  (open.reader.endError() != 0 ? std::string(": ") + std::strerror(open.reader.endError()) : ""));
            close(found);
        }
        runPending();
    }

    // Also from inside the notifier's own signal, hence the deferred delete.
    void close(std::map<std::string, Open>::iterator pedal) {
        pedal->second.notifier->setEnabled(false);
        pedal->second.notifier->deleteLater();
        ::close(pedal->second.fd);
        pedals.erase(pedal);
    }

    // Events run in their order even when a command lets a later read run
    // inside it: the inner call only queues.
    void runPending() {
        if (running) return;
        running = true;
        while (!pending.empty()) {
            const PedalEvent event = pending.front();
            pending.pop_front();
            actions.handle(event, PedalActions::Clock::now());
        }
        running = false;
        scheduleRepeat();
    }

    void scheduleRepeat() {
        const auto next = actions.nextStep();
        if (!next) {
            repeat.stop();
            return;
        }
        const auto wait = std::chrono::ceil<std::chrono::milliseconds>(*next - PedalActions::Clock::now());
        repeat.start(static_cast<int>(std::max<std::chrono::milliseconds::rep>(wait.count(), 0)));
    }

    PedalActions& actions;
    QObject context;
    QTimer repeat;
    QTimer rescan;
    std::map<std::string, Open> pedals;  // by node path
    std::deque<PedalEvent> pending;
    bool running = false;
    int inotifyFd = -1;
    QSocketNotifier* inotifyNotifier = nullptr;
    std::set<std::string> told;
};

FootPedals::FootPedals(PedalActions& actions) : mImpl(std::make_unique<Impl>(actions)) {}

FootPedals::~FootPedals() = default;

void FootPedals::start() {
    mImpl->watchForNewNodes();
    if (mImpl->openNewPedals() == 0) {
        mImpl->tellOnce("none in use; known models: " + knownModels() +
                        (mImpl->inotifyFd >= 0 ? "; one plugged in later is used" : ""));
    }
}

void FootPedals::watch(int fd, const PedalDevice& device, const std::string& name) {
    mImpl->watch(fd, device, name);
}

}  // namespace lirabox::hotkeys
