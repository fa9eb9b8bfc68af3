#include "QtSelectionReader.h"

#include <QClipboard>
#include <QGuiApplication>

namespace lirabox::qt {

void QtSelectionReader::read(std::function<void(const std::string& text)> done) {
    QClipboard* clipboard = QGuiApplication::clipboard();
    const QClipboard::Mode mode = clipboard->supportsSelection() ? QClipboard::Selection : QClipboard::Clipboard;
    done(clipboard->text(mode).toStdString());
}

}  // namespace lirabox::qt
