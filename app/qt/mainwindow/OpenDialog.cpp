#include "OpenDialog.h"

#include <QFileDialog>

namespace lirabox::qt {
namespace {

constexpr std::int32_t kFileMustExist = 0x1000;

}  // namespace

QStringList toQtNameFilters(const std::string& filter) {
    const QStringList parts = QString::fromStdString(filter).split(u'|');
    QStringList entries;
    for (qsizetype i = 0; i < parts.size(); i += 2) {
        const QString& name = parts[i];
        const QString patterns = i + 1 < parts.size() ? parts[i + 1] : QStringLiteral("*");
        if (name.isEmpty() && patterns.isEmpty()) continue;
        QStringList globs = patterns.split(u';', Qt::SkipEmptyParts);
        for (QString& glob : globs) glob = glob.trimmed();
        if (globs.isEmpty()) globs << QStringLiteral("*");
        // Qt reads the patterns from the name's last parentheses, blank-separated:
        // a name that lists its patterns there already gets them in that form.
        QString shown = name;
        const qsizetype open = shown.lastIndexOf(u'(');
        if (shown.endsWith(u')') && open >= 0) shown = shown.left(open).trimmed();
        entries << shown + QStringLiteral(" (") + globs.join(u' ') + u')';
    }
    return entries;
}

void configureOpenDialog(QFileDialog& dialog, const OpenDialogRequest& request) {
    dialog.setWindowTitle(QString::fromStdString(request.title));
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    // Qt's open dialog always insists on an existing folder; the file itself
    // must exist when the flags say so.
    dialog.setFileMode((request.flags & kFileMustExist) != 0 ? QFileDialog::ExistingFile : QFileDialog::AnyFile);
    // Qt's dialog has no read-only check box, so the flag that hides it (0x4) needs nothing.
    const QStringList filters = toQtNameFilters(request.filter);
    dialog.setNameFilters(filters);
    if (!filters.isEmpty()) dialog.selectNameFilter(filters.first());
    dialog.setDefaultSuffix(QString::fromStdString(request.defaultExtension));
}

std::optional<std::string> runOpenDialog(QWidget* parent, const OpenDialogRequest& request) {
    QFileDialog dialog(parent);
    configureOpenDialog(dialog, request);
    if (dialog.exec() != QDialog::Accepted) return std::nullopt;
    const QStringList chosen = dialog.selectedFiles();
    if (chosen.isEmpty()) return std::nullopt;
    return chosen.first().toStdString();
}

}  // namespace lirabox::qt
