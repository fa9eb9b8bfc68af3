#pragma once
// File drops from a file manager. One event filter serves the main window and
// every control that takes drops: a drag that carries local files is taken as
// a copy, anything else is refused while it is dragged, so it changes nothing.
// The files reach the handler after the drop has finished, never inside it, so
// a message box shown by the load cannot hold up the file manager.

#include <functional>
#include <string>
#include <vector>

#include <QObject>
#include <QSet>

class QMimeData;
class QWidget;

namespace lirabox::qt {

class DropFilter : public QObject {
    Q_OBJECT
public:
    using Handler = std::function<void(const std::vector<std::string>& files)>;

    DropFilter(Handler handler, QObject* parent);

    // The widget takes file drops.
    void attach(QWidget* widget);
    // The widget refuses every drop, also on behalf of the window behind it.
    void shield(QWidget* widget);

    // The local files a drag carries, in the drag's order.
    static std::vector<std::string> localFiles(const QMimeData* data);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    Handler mHandler;
    QSet<QObject*> mShielded;
};

}  // namespace lirabox::qt
