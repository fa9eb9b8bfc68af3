#include "EngineEventPump.h"

#include <QMetaObject>

#include "player/media/mpv/MpvEngine.h"

namespace lirabox::qt {

EngineEventPump::EngineEventPump(media::MpvEngine& engine, QObject* parent) : QObject(parent), mEngine(engine) {
    mEngine.setWakeupCallback([this] {
        if (mPosted.exchange(true)) return;
        QMetaObject::invokeMethod(
            this,
            [this] {
                mPosted = false;
                mEngine.processEvents();
            },
            Qt::QueuedConnection);
    });
}

EngineEventPump::~EngineEventPump() { mEngine.setWakeupCallback({}); }

}  // namespace lirabox::qt
