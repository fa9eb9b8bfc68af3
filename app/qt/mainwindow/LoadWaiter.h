#pragma once
// What the window does while the engine waits for a slow file (a disk that
// spins up, a network share): a busy cursor, windows that still repaint and
// answer the desktop, user input held back until the file is open, and a
// close of the main window put off until then.

namespace lirabox::media {
class MediaEngine;
}

namespace lirabox::qt {

class MainWindow;

void installLoadWaiter(media::MediaEngine& engine, MainWindow& window);

}  // namespace lirabox::qt
