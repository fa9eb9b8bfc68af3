#pragma once
// The Open dialog as the player asks for it, built on QFileDialog.

#include <optional>
#include <string>

#include <QStringList>

#include "player/MainView.h"

class QFileDialog;
class QWidget;

namespace lirabox::qt {

// "Sound (*.wav;*.mp3)|*.wav;*.mp3|All (*)|*" becomes the entries
// "Sound (*.wav;*.mp3) (*.wav *.mp3)" and "All (*) (*)", in the same order.
// A trailing description without patterns is kept with the pattern "*".
QStringList toQtNameFilters(const std::string& filter);

// Applies title, filters (first one selected), default suffix and flags.
void configureOpenDialog(QFileDialog& dialog, const OpenDialogRequest& request);

// Shows the dialog modal to the parent; the chosen path, or nothing when cancelled.
std::optional<std::string> runOpenDialog(QWidget* parent, const OpenDialogRequest& request);

}  // namespace lirabox::qt
