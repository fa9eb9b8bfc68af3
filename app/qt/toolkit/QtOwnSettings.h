#pragma once
// Qt keeps settings of its own (the file dialog's history and sizes) in
// QtProject.conf in the user's configuration folder. The player's settings
// are its four INI files and nothing else, so Qt's own are kept for the
// running process only.

namespace lirabox::qt {

// Gives QSettings files no place on disk: they start empty and are never
// written. Call before the first QSettings is made.
void keepQtSettingsInMemory();

}  // namespace lirabox::qt
