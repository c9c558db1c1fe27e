#pragma once

#include "app/view_settings.h"

#include <QObject>
#include <functional>
#include <string>

class QMenu;

namespace tessarin {

// The Recent Files menu: the last 8 files opened, kept in the settings, each item opening
// its file again.
class RecentFiles {
public:
    using Open = std::function<void(const std::string& fileName)>;

    // Fills menu from the settings; open runs queued, once the menu is done with the click.
    RecentFiles(QMenu* menu, ViewSettings& settings, QObject* context, Open open);

    // Puts the file first in the list and the menu.
    void add(const std::string& fileName);

private:
    void fill(const QStringList& files);

    QMenu* menu_;
    ViewSettings& settings_;
    QObject* context_;
    Open open_;
};

} // namespace tessarin
