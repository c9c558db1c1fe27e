#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

namespace tessarin {

// What the viewer keeps between runs (QSettings "Tessarin"): the window's place, zoom and
// full screen, the folder of the last file opened or saved, and the files opened last.
// Each read and write goes to the settings at once.
class ViewSettings {
public:
    // The window's geometry as saveGeometry gave it; empty at the first run.
    [[nodiscard]] QByteArray geometry() const;
    [[nodiscard]] int zoom(int otherwise) const;
    [[nodiscard]] bool fullScreen() const;
    void saveView(const QByteArray& geometry, int zoom, bool fullScreen);

    // Where the file dialogs start without a file open; empty at the first run.
    [[nodiscard]] QString lastFolder() const;
    void setLastFolder(const QString& folder);

    // The files opened last, newest first.
    [[nodiscard]] QStringList recentFiles() const;
    void setRecentFiles(const QStringList& files);
};

} // namespace tessarin
