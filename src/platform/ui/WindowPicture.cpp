#include "platform/ui/WindowPicture.h"

#include "platform/system/AtomicFile.h"
#include "platform/ui/detail/Window.h"

#include <QBuffer>
#include <QImageWriter>
#include <QPixmap>
#include <QWidget>

namespace korvyn::platform {

bool SaveWindowPicture(HWND window, const std::filesystem::path& file, std::string& error) {
    Window* w = Window::From(window);
    if (w == nullptr || w->widget() == nullptr) {
        error = "there is no window to take a picture of";
        return false;
    }
    // A window that is not drawn on the screen is drawn for the picture alone.
    QWidget* widget = w->widget();
    const bool drawn = widget->updatesEnabled();
    if (!drawn) {
        widget->setUpdatesEnabled(true);
    }
    QImage image = widget->grab().toImage();
    if (!drawn) {
        widget->setUpdatesEnabled(false);
    }
    QByteArray png;
    QBuffer buffer(&png);
    buffer.open(QIODevice::WriteOnly);
    QImageWriter writer(&buffer, "png");
    if (!writer.write(image)) {
        error = writer.errorString().toStdString();
        return false;
    }
    // Complete or not at all, like the exports.
    AtomicFile out;
    if (!out.Open(file) || !out.WriteAt(0, png.constData(), static_cast<std::size_t>(png.size())) ||
        !out.Commit()) {
        error = out.Error() ? out.Error().message() : "cannot write the file";
        return false;
    }
    return true;
}

} // namespace korvyn::platform
