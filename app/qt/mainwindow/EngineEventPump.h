#pragma once
// Keeps the media engine's event queue drained while the UI thread is idle:
// libmpv's wakeup (on its own thread) posts one drain to the UI thread, and no
// second one until that has run. Nothing here ever waits.

#include <atomic>

#include <QObject>

namespace lirabox::media {
class MpvEngine;
}

namespace lirabox::qt {

class EngineEventPump : public QObject {
public:
    EngineEventPump(media::MpvEngine& engine, QObject* parent = nullptr);
    ~EngineEventPump() override;
    EngineEventPump(const EngineEventPump&) = delete;
    EngineEventPump& operator=(const EngineEventPump&) = delete;

private:
    media::MpvEngine& mEngine;
    std::atomic<bool> mPosted {false};
};

}  // namespace lirabox::qt
