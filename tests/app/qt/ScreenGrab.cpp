// Saves the X screen, or a rectangle of it, as a PNG:
//   lirabox_screen_grab OUT.png [X Y WIDTH HEIGHT]

#include <cstdio>

#include <QGuiApplication>
#include <QPixmap>
#include <QScreen>

int main(int argc, char** argv) {
    if (argc != 2 && argc != 6) {
        std::fputs("usage: lirabox_screen_grab OUT.png [X Y WIDTH HEIGHT]\n", stderr);
        return 2;
    }
    QGuiApplication app(argc, argv);
    QScreen* screen = QGuiApplication::primaryScreen();
    if (screen == nullptr) return 1;
    QPixmap picture = argc == 6 ? screen->grabWindow(
                                      0, std::atoi(argv[2]), std::atoi(argv[3]), std::atoi(argv[4]), std::atoi(argv[5]))
                                : screen->grabWindow(0);
    return picture.save(QString::fromLocal8Bit(argv[1]), "PNG") ? 0 : 1;
}
