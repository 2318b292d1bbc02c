#include "platform/ui/ApplicationIcon.h"

#include "platform/resources/IconGroup.h"

#include <QGuiApplication>
#include <QIcon>
#include <QPixmap>

namespace korvyn::platform {

bool SetApplicationIcon(HMODULE module, LPCWSTR name) {
    std::vector<IconImage> images;
    if (qGuiApp == nullptr || !LoadIconGroup(module, name, images)) {
        return false;
    }
    QIcon icon;
    for (const IconImage& image : images) {
        QPixmap picture;
        if (picture.loadFromData(image.data, static_cast<uint>(image.size))) {
            icon.addPixmap(picture);
        }
    }
    if (icon.isNull()) {
        return false;
    }
    QGuiApplication::setWindowIcon(icon);
    return true;
}

} // namespace korvyn::platform
