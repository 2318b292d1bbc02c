#include "platform/ui/QtPlatforms.h"

#include <QDir>
#include <QJsonArray>
#include <QJsonObject>
#include <QLibraryInfo>
#include <QPluginLoader>
#include <QStringList>

namespace korvyn::platform {
namespace {

// The names the installed platform plugins answer to, in lower case. Qt finds a platform
// by the "Keys" in each plugin's metadata, not by its file name (libqwayland-generic.so
// answers to "wayland"), and reads that metadata from the file without loading it; so do
// we, in the folders Qt searches: $QT_QPA_PLATFORM_PLUGIN_PATH, the "platforms" folder
// under each $QT_PLUGIN_PATH entry and under Qt's own plugin folder, and plugins built
// into the program.
QStringList InstalledPlatformKeys() {
    QStringList folders;
    if (const QString own = qEnvironmentVariable("QT_QPA_PLATFORM_PLUGIN_PATH"); !own.isEmpty()) {
        folders << own;
    }
    for (const QString& path :
         qEnvironmentVariable("QT_PLUGIN_PATH").split(QDir::listSeparator(), Qt::SkipEmptyParts)) {
        folders << path + "/platforms";
    }
    folders << QLibraryInfo::path(QLibraryInfo::PluginsPath) + "/platforms";

    QStringList keys;
    auto add = [&keys](const QJsonObject& metaData) {
        if (!metaData.value("IID").toString().contains("QPlatformIntegrationFactoryInterface")) {
            return;
        }
        for (const QJsonValue key : metaData.value("MetaData").toObject().value("Keys").toArray()) {
            keys << key.toString().toLower();
        }
    };
    for (const QString& folder : folders) {
        for (const QFileInfo& file : QDir(folder).entryInfoList(QDir::Files)) {
            add(QPluginLoader(file.absoluteFilePath()).metaData());
        }
    }
    for (const QStaticPlugin& plugin : QPluginLoader::staticPlugins()) {
        add(plugin.metaData());
    }
    return keys;
}

} // namespace

std::string LoadableQtPlatforms(std::string_view platforms) {
    const QStringList keys = InstalledPlatformKeys();
    QStringList loadable;
    const QString value =
        QString::fromUtf8(platforms.data(), static_cast<qsizetype>(platforms.size()));
    for (const QString& platform : value.split(';', Qt::SkipEmptyParts)) {
        // Arguments follow the name after ":"; Qt compares names ignoring case.
        if (keys.contains(platform.section(':', 0, 0).toLower())) {
            loadable << platform;
        }
    }
    return loadable.join(';').toStdString();
}

} // namespace korvyn::platform
