#include "MprisPlayerAdaptor.h"

#include "ErrorReply.h"
#include "player/MprisPlayer.h"

#include "support/RaisedError.h"

#include <QFile>
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
        {QStringLiteral("mpris:trackid"), QVariant::fromValue(QDBusObjectPath(QString::fromStdString(track->trackId)))},
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

void MprisPlayerAdaptor::Next() { mPlayer.next(); }
void MprisPlayerAdaptor::Previous() { mPlayer.previous(); }
void MprisPlayerAdaptor::PlayPause() { mPlayer.playPause(); }
void MprisPlayerAdaptor::Play() { mPlayer.play(); }
void MprisPlayerAdaptor::Pause() { mPlayer.pause(); }
void MprisPlayerAdaptor::Stop() { mPlayer.stop(); }
void MprisPlayerAdaptor::Seek(qlonglong Offset) { mPlayer.seek(Offset); }

void MprisPlayerAdaptor::SetPosition(const QDBusObjectPath& TrackId, qlonglong Position) {
    mPlayer.setPosition(TrackId.path().toStdString(), Position);
}

// Only local files. The load is made within the call (a slow file keeps the
// window alive meanwhile, and a second open then is refused as busy); its
// failure goes back to the caller as the call's error.
void MprisPlayerAdaptor::OpenUri(const QString& Uri, const QDBusMessage& message) {
    const QUrl url(Uri);
    if (!url.isLocalFile()) {
        replyWithError(message, QDBusError::NotSupported, QStringLiteral("only local files can be opened: ") + Uri);
        return;
    }
    const QString file = url.toLocalFile();
    if (file.contains(QChar(u'\0'))) {
        replyWithError(message, QDBusError::InvalidArgs, QStringLiteral("the file name holds a NUL character: ") + Uri);
        return;
    }
    try {
        mPlayer.openFile(QFile::encodeName(file).toStdString());
    } catch (const RaisedError& error) {
        replyWithError(message, QDBusError::Failed, QString::fromStdString(error.description()));
    }
}

}  // namespace lirabox::dbus
