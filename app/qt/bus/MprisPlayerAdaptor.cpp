#include "MprisPlayerAdaptor.h"

#include "player/MprisPlayer.h"

#include <QFile>
#include <QTimer>
#include <QUrl>

namespace lirabox::dbus {

MprisPlayerAdaptor::MprisPlayerAdaptor(QObject* parent, MprisPlayer& player)
    : QDBusAbstractAdaptor(parent), mPlayer(player) {}

QString MprisPlayerAdaptor::playbackStatus() const { return QString::fromStdString(mPlayer.playbackStatus()); }

QVariantMap MprisPlayerAdaptor::metadata() const {
    const auto& track = mPlayer.track();
    if (!track) {
        return {{QStringLiteral("mpris:trackid"), QVariant::fromValue(QDBusObjectPath(MprisPlayer::kNoTrack))}};
    }
    return {
        {QStringLiteral("mpris:trackid"),
         QVariant::fromValue(QDBusObjectPath(QString::fromStdString(track->trackId)))},
        {QStringLiteral("mpris:length"), QVariant::fromValue(qlonglong {track->length})},
        {QStringLiteral("xesam:title"), QString::fromStdString(track->title)},
        {QStringLiteral("xesam:url"),
         QUrl::fromLocalFile(QFile::decodeName(track->path.c_str())).toString(QUrl::FullyEncoded)},
    };
}

qlonglong MprisPlayerAdaptor::position() const { return mPlayer.position(); }
double MprisPlayerAdaptor::rate() const { return mPlayer.rate(); }
void MprisPlayerAdaptor::setRate(double rate) { mPlayer.setRate(rate); }
double MprisPlayerAdaptor::minimumRate() const { return MprisPlayer::kMinimumRate; }
double MprisPlayerAdaptor::maximumRate() const { return MprisPlayer::kMaximumRate; }
double MprisPlayerAdaptor::volume() const { return mPlayer.volume(); }
void MprisPlayerAdaptor::setVolume(double volume) { mPlayer.setVolume(volume); }
bool MprisPlayerAdaptor::hasTrack() const { return mPlayer.hasTrack(); }

void MprisPlayerAdaptor::PlayPause() { mPlayer.playPause(); }
void MprisPlayerAdaptor::Play() { mPlayer.play(); }
void MprisPlayerAdaptor::Pause() { mPlayer.pause(); }
void MprisPlayerAdaptor::Stop() { mPlayer.stop(); }
void MprisPlayerAdaptor::Seek(qlonglong Offset) { mPlayer.seek(Offset); }

void MprisPlayerAdaptor::SetPosition(const QDBusObjectPath& TrackId, qlonglong Position) {
    mPlayer.setPosition(TrackId.path().toStdString(), Position);
}

// Only local files; the load runs after the reply has gone, so a message box
// about a broken file cannot hold the caller.
void MprisPlayerAdaptor::OpenUri(const QString& Uri) {
    const QUrl url(Uri);
    if (!url.isLocalFile()) return;
    const std::string path = QFile::encodeName(url.toLocalFile()).toStdString();
    QTimer::singleShot(0, this, [this, path] { mPlayer.openFile(path); });
}

}  // namespace lirabox::dbus
