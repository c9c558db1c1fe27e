#include "app/view_settings.h"

#include <QSettings>

namespace tessarin {

namespace {

const QString kSettingsName = QStringLiteral("Tessarin");
const QString kLastFolderKey = QStringLiteral("lastFolder");
const QString kGeometryKey = QStringLiteral("geometry");
const QString kZoomKey = QStringLiteral("zoom");
const QString kFullScreenKey = QStringLiteral("fullScreen");
const QString kRecentFilesKey = QStringLiteral("recentFiles");

QSettings viewerSettings() {
    return QSettings(kSettingsName, kSettingsName);
}

} // namespace

QByteArray ViewSettings::geometry() const {
    return viewerSettings().value(kGeometryKey).toByteArray();
}

int ViewSettings::zoom(int otherwise) const {
    return viewerSettings().value(kZoomKey, otherwise).toInt();
}

bool ViewSettings::fullScreen() const {
    return viewerSettings().value(kFullScreenKey, false).toBool();
}

void ViewSettings::saveView(const QByteArray& geometry, int zoom, bool fullScreen) {
    QSettings settings = viewerSettings();
    settings.setValue(kGeometryKey, geometry);
    settings.setValue(kZoomKey, zoom);
    settings.setValue(kFullScreenKey, fullScreen);
}

QString ViewSettings::lastFolder() const {
    return viewerSettings().value(kLastFolderKey).toString();
}

void ViewSettings::setLastFolder(const QString& folder) {
    viewerSettings().setValue(kLastFolderKey, folder);
}

QStringList ViewSettings::recentFiles() const {
    return viewerSettings().value(kRecentFilesKey).toStringList();
}

void ViewSettings::setRecentFiles(const QStringList& files) {
    viewerSettings().setValue(kRecentFilesKey, files);
}

} // namespace tessarin
