#pragma once
// The player on the session bus as org.mpris.MediaPlayer2.lirabox, so the
// desktop's media keys, applets and playerctl reach it. Without a session bus
// there is simply no such service.

#include <memory>
#include <string>
#include <vector>

#include <QObject>

namespace lirabox {
class frmMain;
class MprisPlayer;
namespace media {
class MediaEngine;
}
}  // namespace lirabox

namespace lirabox::dbus {

class MprisPlayerAdaptor;

class MprisService : public QObject {
    Q_OBJECT
public:
    MprisService(frmMain& player, media::MediaEngine& engine);
    ~MprisService() override;

private:
    void publish();
    void sendPropertiesChanged(const std::vector<std::string>& properties);

    std::unique_ptr<MprisPlayer> mPlayer;
    MprisPlayerAdaptor* mPlayerAdaptor = nullptr;
};

}  // namespace lirabox::dbus
