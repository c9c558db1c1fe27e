#pragma once

#include "app/thumbnail_loader.h"
#include "storage/location.h"
#include "storage/stamp.h"
#include "vdp/vocabulary.h"

#include <QAbstractListModel>
#include <QCache>
#include <QHash>
#include <QPixmap>
#include <QStyle>
#include <optional>
#include <string>
#include <unordered_map>
#include <vector>

// The places inside one folder or disk image (placesIn: subfolders, disk images, archives)
// with a folder's icon, then its screen files, in browsing order, each with its name and
// its thumbnail, which fills in as it is made (the tooltip names its mode): a row asked for its
// picture (painted) is asked of the loader. Thumbnails are kept, up to a memory budget, while the
// folder is unchanged; a file that cannot be made into one shows a broken-picture mark with the
// reason as its tooltip.
class ThumbnailModel : public QAbstractListModel {
    Q_OBJECT

public:
    // The side of the square thumbnails.
    static constexpr int kThumbnailSize = 128;
    // The role of a row's screen file (a QString of its local bytes).
    static constexpr int kPathRole = Qt::UserRole;
    // The role of a row's problem: why no thumbnail could be made; empty while none.
    static constexpr int kProblemRole = Qt::UserRole + 1;

    explicit ThumbnailModel(QObject* parent = nullptr);

    // Lists folder's places and screen files (FileSource::screenFilesOf); the thumbnails made are
    // kept when it is the folder listed before and unchanged since. FileError naming a
    // disk image that is no MSX-DOS disk.
    void setFolder(const std::string& folder);
    // Asks for the thumbnails around row before any is painted, so that they are made
    // while the window is still being shown: row's first, then its neighbours.
    void prefetch(int row);
    // The folder listed; empty before the first.
    [[nodiscard]] const std::string& folder() const { return folder_; }
    // The row of the screen file path; nothing when it is not listed.
    [[nodiscard]] std::optional<int> rowOf(const std::string& path) const;
    // The place or screen file of row, as listed.
    [[nodiscard]] const tessarin::Location& locationAt(int row) const {
        return listed_.at(static_cast<std::size_t>(row));
    }
    [[nodiscard]] const std::string& pathAt(int row) const { return locationAt(row).path(); }
    // The mode row's screen file is shown in, by what its folder's listing found of it (a
    // new viewer's where its name and bytes give none); nothing for a place.
    [[nodiscard]] std::optional<tessarin::ScreenMode> modeAt(int row) const {
        return modes_.at(static_cast<std::size_t>(row));
    }

    // Whether row is a place, shown by an icon, which opens into a grid of its own.
    [[nodiscard]] bool isPlace(int row) const { return row < places_; }
    // Whether row shows its icon, thumbnail or broken mark, not the background waiting.
    [[nodiscard]] bool isMade(int row) const {
        return isPlace(row) || thumbnails_.contains(row) || problems_.contains(row);
    }

    [[nodiscard]] int rowCount(const QModelIndex& parent = {}) const override;
    [[nodiscard]] QVariant data(const QModelIndex& index, int role) const override;

private:
    // A made thumbnail comes: it is kept, with its file's stamp, and its row painted again.
    void take(int row, const QImage& thumbnail, const QString& problem,
              const std::optional<tessarin::Stamp>& stamp);
    // Forgets the thumbnails of the files rewritten since they were read, which the
    // folder's stamp does not show, and paints their rows again.
    void dropRewritten();

    std::string folder_;
    std::optional<tessarin::Stamp> stamp_;
    std::vector<tessarin::Location> listed_; // the places first
    int places_ = 0;
    std::vector<QStyle::StandardPixmap> placeIcons_;         // of the places, by row
    QStringList names_;                                      // shown under the thumbnails
    std::vector<std::optional<tessarin::ScreenMode>> modes_; // by row
    // Asked for from data(), which is const to the view.
    mutable ThumbnailLoader loader_;
    QCache<int, QPixmap> thumbnails_; // cost: bytes
    QHash<int, QString> problems_;
    // Each made row's file stamp as it was read; nothing for a file inside a disk image or
    // archive, which the place's stamp covers.
    std::unordered_map<int, std::optional<tessarin::Stamp>> madeStamps_;
};
