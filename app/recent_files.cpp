#include "app/recent_files.h"

#include <QAction>
#include <QFile>
#include <QFileInfo>
#include <QMenu>

namespace tessarin {

namespace {

constexpr qsizetype kRecentFileCount = 8;

} // namespace

RecentFiles::RecentFiles(QMenu* menu, ViewSettings& settings, QObject* context, Open open)
    : menu_(menu), settings_(settings), context_(context), open_(std::move(open)) {
    fill(settings_.recentFiles());
}

void RecentFiles::add(const std::string& fileName) {
    const QString shown = QFileInfo(QFile::decodeName(fileName.c_str())).absoluteFilePath();
    QStringList recent = settings_.recentFiles();
    recent.removeAll(shown);
    recent.prepend(shown);
    while (recent.size() > kRecentFileCount) {
        recent.removeLast();
    }
    settings_.setRecentFiles(recent);
    fill(recent);
}

void RecentFiles::fill(const QStringList& files) {
    menu_->clear();
    for (const QString& file : files) {
        QAction* item = menu_->addAction(file);
        // Queued, as the other commands: the menu is done with the click before the file opens.
        QObject::connect(
            item, &QAction::triggered, context_,
            [this, file] { open_(QFile::encodeName(file).toStdString()); }, Qt::QueuedConnection);
    }
}

} // namespace tessarin
