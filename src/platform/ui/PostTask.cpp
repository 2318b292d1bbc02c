#include "platform/ui/PostTask.h"

#include <QCoreApplication>
#include <QTimer>

namespace korvyn::platform {

bool PostTask(std::function<void()> task) {
    if (QCoreApplication::instance() == nullptr || !task) {
        return false;
    }
    QTimer::singleShot(0, QCoreApplication::instance(), std::move(task));
    return true;
}

} // namespace korvyn::platform
