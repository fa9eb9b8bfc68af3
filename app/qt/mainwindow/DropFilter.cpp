#include "DropFilter.h"

#include <QDropEvent>
#include <QMimeData>
#include <QTimer>
#include <QUrl>
#include <QWidget>

namespace lirabox::qt {

DropFilter::DropFilter(Handler handler, QObject* parent) : QObject(parent), mHandler(std::move(handler)) {}

void DropFilter::attach(QWidget* widget) {
    widget->setAcceptDrops(true);
    widget->installEventFilter(this);
}

void DropFilter::shield(QWidget* widget) {
    mShielded.insert(widget);
    attach(widget);
}

std::vector<std::string> DropFilter::localFiles(const QMimeData* data) {
    std::vector<std::string> files;
    if (data == nullptr || !data->hasUrls()) return files;
    for (const QUrl& url : data->urls()) {
        if (url.isLocalFile() && !url.toLocalFile().isEmpty()) files.push_back(url.toLocalFile().toStdString());
    }
    return files;
}

// Qt hands a drag event that a widget leaves unaccepted on to its parent, so
// a shielded widget accepts the drag with no action: the drag stops there and
// the file manager is told that nothing will be done.
bool DropFilter::eventFilter(QObject* watched, QEvent* event) {
    const QEvent::Type type = event->type();
    if (type != QEvent::DragEnter && type != QEvent::DragMove && type != QEvent::Drop) {
        return QObject::eventFilter(watched, event);
    }
    auto* drag = static_cast<QDropEvent*>(event);
    if (mShielded.contains(watched)) {
        drag->setDropAction(Qt::IgnoreAction);
        drag->accept();
        return true;
    }
    std::vector<std::string> files = localFiles(drag->mimeData());
    if (files.empty()) {
        drag->ignore();
        return true;
    }
    drag->setDropAction(Qt::CopyAction);
    drag->accept();
    if (type == QEvent::Drop) {
        QTimer::singleShot(0, this, [this, files = std::move(files)] { mHandler(files); });
    }
    return true;
}

}  // namespace lirabox::qt
