// The yardstick of Korvyn's start-up: an empty Qt Widgets window of the device screen's
// size, shown, ended as soon as its event loop runs; with --picture=FILE it is first drawn
// once into a PNG file, as Korvyn's --screenshot draws its window. With --repaint=MS it
// instead repaints itself every MS milliseconds for --seconds=S, the yardstick of a
// running Korvyn's CPU time.
//     korvyn_empty_qt_window [--size=WxH] [--picture=FILE] [--repaint=MS --seconds=S]
#include <QApplication>
#include <QPixmap>
#include <QTimer>
#include <QWidget>

#include <cstdio>
#include <cstdlib>
#include <string>

int main(int argc, char** argv) {
    int width = 240, height = 320;
    std::string picture;
    int repaintMs = 0;
    double seconds = 0;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg.rfind("--size=", 0) == 0) {
            std::sscanf(arg.c_str() + 7, "%dx%d", &width, &height);
        } else if (arg.rfind("--picture=", 0) == 0) {
            picture = arg.substr(10);
        } else if (arg.rfind("--repaint=", 0) == 0) {
            repaintMs = std::atoi(arg.c_str() + 10);
        } else if (arg.rfind("--seconds=", 0) == 0) {
            seconds = std::atof(arg.c_str() + 10);
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
    QTimer repaint;
    if (repaintMs > 0) {
        QObject::connect(&repaint, &QTimer::timeout, &window, [&window] { window.update(); });
        repaint.start(repaintMs);
    }
    QTimer::singleShot(static_cast<int>(seconds * 1000), &app, &QCoreApplication::quit);
    return QApplication::exec();
}
