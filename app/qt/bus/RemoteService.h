#pragma once
// The running copy takes commands from other processes (`lirabox --command`)
// on the session bus: name io.github.lirabox, object /io/github/lirabox,
// interface io.github.lirabox.Remote, method Run(name, argument), and
// HandOver(path, start) for a second start of the program with a recording
// (RunningCopy.h). Both answer at once and the work runs right after, on the
// UI thread, so a sender never waits for a recording to load; words that are
// no command, or a path that is not a full one, get an error reply with the
// reason. Without a session bus, or when another copy holds the name, there
// is no such service and nothing else changes.

#include <QDBusContext>
#include <QObject>
#include <QString>

namespace lirabox {
class frmMain;
}

namespace lirabox::dbus {

class RemoteService : public QObject, protected QDBusContext {
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "io.github.lirabox.Remote")
public:
    explicit RemoteService(frmMain& player);
    ~RemoteService() override;

public Q_SLOTS:
    void Run(const QString& name, const QString& argument);
    void HandOver(const QString& path, int start);

private:
    frmMain& mPlayer;
};

}  // namespace lirabox::dbus
