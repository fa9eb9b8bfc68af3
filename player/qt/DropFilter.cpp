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

bool DropFilter::eventFilter(QObject* watched, QEvent* event) {
    switch (event->type()) {
    case QEvent::DragEnter:
    case QEvent::DragMove: {
        auto* drag = static_cast<QDropEvent*>(event);
        if (mShielded.contains(watched) || localFiles(drag->mimeData()).empty()) {
            drag->ignore();
        } else {
            drag->setDropAction(Qt::CopyAction);
            drag->accept();
        }
        return true;
    }
    case QEvent::Drop: {
        auto* drop = static_cast<QDropEvent*>(event);
        std::vector<std::string> files = mShielded.contains(watched) ? std::vector<std::string>()
                                                                     : localFiles(drop->mimeData());
        if (files.empty()) {
            drop->ignore();
            return true;
        }
        drop->setDropAction(Qt::CopyAction);
        drop->accept();
        QTimer::singleShot(0, this, [this, files = std::move(files)] { mHandler(files); });
        return true;
    }
    default:
        return QObject::eventFilter(watched, event);
    }
}

}  // namespace lirabox::qt

