#include "platform/ui/PostTask.h"

#include <QCoreApplication>
#include <QTimer>

namespace korvyn::platform {

void PostTask(std::function<void()> task) {
    if (QCoreApplication::instance() == nullptr || !task) {
        return;
    }
    QTimer::singleShot(0, QCoreApplication::instance(), std::move(task));
}

} // namespace korvyn::platform
