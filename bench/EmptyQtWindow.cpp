// The yardstick of Korvyn's start-up: an empty Qt Widgets window of the device screen's
// size, shown, ended as soon as its event loop runs; with --picture=FILE it is first drawn
// once into a PNG file, as Korvyn's --screenshot draws its window.
//     korvyn_empty_qt_window [--size=WxH] [--picture=FILE]
#include <QApplication>
#include <QPixmap>
#include <QTimer>
#include <QWidget>

#include <cstdio>
#include <string>

int main(int argc, char** argv) {
    int width = 240, height = 320;
    std::string picture;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg.rfind("--size=", 0) == 0) {
            std::sscanf(arg.c_str() + 7, "%dx%d", &width, &height);
        } else if (arg.rfind("--picture=", 0) == 0) {
            picture = arg.substr(10);
        }
    }
    int args = 1;
    QApplication app(args, argv);
    QWidget window;
    window.resize(width, height);
    window.show();
    if (!picture.empty() && !window.grab().save(QString::fromStdString(picture), "png")) {
        return 1;
    }
    QTimer::singleShot(0, &app, &QCoreApplication::quit);
    return QApplication::exec();
}
