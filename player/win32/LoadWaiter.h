#pragma once
// What the window does while the engine waits for a slow file (a disk that
// spins up, a network share): a busy cursor, windows that still repaint and
// answer the system, user input held back until the file is open, and a close
// of the main window put off until then.

namespace lirabox::media {
class Win32MediaEngine;
}

namespace lirabox::win32 {

class MainWindow;

void installLoadWaiter(media::Win32MediaEngine& engine, MainWindow& window);

}  // namespace lirabox::win32
