// Linux: pedals are /dev/hidraw* nodes matched through sysfs; inotify on /dev
// tells when a node appears or udev changes its permissions, and the event
// loop watches every open descriptor.

#include "hotkeys/FootPedals.h"

#include "HidrawNodes.h"
#include "hotkeys/PedalEventQueue.h"
#include "support/Trace.h"

#include <QObject>
#include <QSocketNotifier>
#include <QTimer>

#include <cerrno>
#include <cstdio>
#include <cstring>
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

}  // namespace

struct FootPedals::Impl {
    struct Open {
        int fd;
        PedalReader reader;
        QSocketNotifier* notifier;
    };

    explicit Impl(PedalActions& pedalActions) : queue(pedalActions) {
        repeat.setSingleShot(true);
        rescan.setSingleShot(true);
        rescan.setInterval(kRescanDelayMs);
        QObject::connect(&repeat, &QTimer::timeout, &context, [this] {
            queue.tick();
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
                         std::strerror(errno) +
                         "); the udev rule 70-lirabox-footpedal.rules gives the "
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
        pedals.emplace(name, Open {fd, PedalReader(device), notifier});
        QObject::connect(notifier, &QSocketNotifier::activated, &context, [this, name] { readPedal(name); });
        tellOnce("using " + std::string(device.name) + " at " + name);
    }

    void readPedal(const std::string& name) {
        const auto found = pedals.find(name);
        if (found == pedals.end()) return;
        Open& open = found->second;
        const std::vector<PedalEvent> events = open.reader.readOnce(open.fd);
        if (open.reader.ended()) {
            trace("foot pedals: " + name + " ended" +
                  (open.reader.endError() != 0 ? std::string(": ") + std::strerror(open.reader.endError()) : ""));
            close(found);
        }
        queue.run(events);
        scheduleRepeat();
    }

    // Also from inside the notifier's own signal, hence the deferred delete.
    void close(std::map<std::string, Open>::iterator pedal) {
        pedal->second.notifier->setEnabled(false);
        pedal->second.notifier->deleteLater();
        ::close(pedal->second.fd);
        pedals.erase(pedal);
    }

    void scheduleRepeat() {
        const auto wait = queue.untilNextStep();
        if (wait) {
            repeat.start(static_cast<int>(wait->count()));
        } else {
            repeat.stop();
        }
    }

    PedalEventQueue queue;
    QObject context;
    QTimer repeat;
    QTimer rescan;
    std::map<std::string, Open> pedals;  // by node path
    int inotifyFd = -1;
    QSocketNotifier* inotifyNotifier = nullptr;
    std::set<std::string> told;
};

FootPedals::FootPedals(PedalActions& actions) : mImpl(std::make_unique<Impl>(actions)) {}

FootPedals::~FootPedals() = default;

void FootPedals::start() {
    mImpl->watchForNewNodes();
    if (mImpl->openNewPedals() == 0) {
        mImpl->tellOnce("none in use; known models: " + knownPedalModels() +
                        (mImpl->inotifyFd >= 0 ? "; one plugged in later is used" : ""));
    }
}

void FootPedals::watch(int fd, const PedalDevice& device, const std::string& name) { mImpl->watch(fd, device, name); }

}  // namespace lirabox::hotkeys
