#pragma once
// org.mpris.MediaPlayer2.Player: the player's state and transport, in the
// interface's types (microseconds as qlonglong, the track id as an object path).
// A call that fails is answered with a D-Bus error, never with a message box:
// a caller on the bus cannot pile up windows for the user to dismiss.

#include <QDBusAbstractAdaptor>
#include <QDBusMessage>
#include <QDBusObjectPath>
#include <QVariantMap>

namespace lirabox {
class MprisPlayer;
}

namespace lirabox::dbus {

class MprisPlayerAdaptor : public QDBusAbstractAdaptor {
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.mpris.MediaPlayer2.Player")
    Q_PROPERTY(QString PlaybackStatus READ playbackStatus)
    Q_PROPERTY(QVariantMap Metadata READ metadata)
    Q_PROPERTY(qlonglong Position READ position)
    Q_PROPERTY(double Rate READ rate WRITE setRate)
    Q_PROPERTY(double MinimumRate READ minimumRate)
    Q_PROPERTY(double MaximumRate READ maximumRate)
    Q_PROPERTY(double Volume READ volume WRITE setVolume)
    Q_PROPERTY(bool CanGoNext READ canGoNext)
    Q_PROPERTY(bool CanGoPrevious READ canGoPrevious)
    Q_PROPERTY(bool CanPlay READ hasTrack)
    Q_PROPERTY(bool CanPause READ hasTrack)
    Q_PROPERTY(bool CanSeek READ hasTrack)
    Q_PROPERTY(bool CanControl READ canControl)

public:
    MprisPlayerAdaptor(QObject* parent, MprisPlayer& player);

    QString playbackStatus() const;
    QVariantMap metadata() const;
    qlonglong position() const;
    double rate() const;
    void setRate(double rate);
    double minimumRate() const;
    double maximumRate() const;
    double volume() const;
    void setVolume(double volume);
    bool canGoNext() const { return true; }
    bool canGoPrevious() const { return true; }
    bool hasTrack() const;
    bool canControl() const { return true; }

public slots:
    void Next();
    void Previous();
    void PlayPause();
    void Play();
    void Pause();
    void Stop();
    void Seek(qlonglong Offset);
    void SetPosition(const QDBusObjectPath& TrackId, qlonglong Position);
    void OpenUri(const QString& Uri, const QDBusMessage& message);

signals:
    void Seeked(qlonglong Position);

private:
    MprisPlayer& mPlayer;
};

}  // namespace lirabox::dbus
