#pragma once
// What the window does while the engine waits for a slow file (a disk that
// spins up, a network share): a busy cursor, windows that still repaint and
// answer the desktop, user input held back and handed on once the load is
// over, so that no command starts in the middle of it. Closing the main
// window, or its quit key (Ctrl+Q), gives the load up at once; the window
// then closes from the event loop.

namespace lirabox::media {
class MediaEngine;
}

namespace lirabox::qt {

class MainWindow;

void installLoadWaiter(media::MediaEngine& engine, MainWindow& window);

}  // namespace lirabox::qt
