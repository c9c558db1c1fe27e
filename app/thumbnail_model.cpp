#include "app/thumbnail_model.h"

#include "app/local_name.h"
#include "catalog/file_source.h"
#include "document/places_in.h"
#include "storage/location.h"
#include "vdp/screen_modes.h"

#include <QApplication>
#include <QFile>
#include <QIcon>
#include <QPainter>
#include <QStyle>
#include <algorithm>

using tessarin::shownName;

namespace {

// The thumbnails asked for either side of the place a folder opens at: more than a
// screenful of a large window.
constexpr int kPrefetchReach = 40;
// The thumbnails kept: about 500, several screenfuls either side of any place.
constexpr qsizetype kKeptBytes = qsizetype{32} << 20;
const QColor kBackground(24, 24, 24);

// What stands where a thumbnail is not made yet: the background alone.
const QPixmap& placeholder() {
    static const QPixmap blank = [] {
        QPixmap square(ThumbnailModel::kThumbnailSize, ThumbnailModel::kThumbnailSize);
        square.fill(kBackground);
        return square;
    }();
    return blank;
}

// The broken-picture mark: a frame crossed out.
const QPixmap& brokenMark() {
    static const QPixmap mark = [] {
        constexpr int kSide = ThumbnailModel::kThumbnailSize;
        constexpr int kInset = kSide / 4;
        QPixmap square = placeholder().copy();
        QPainter painter(&square);
        painter.setRenderHint(QPainter::Antialiasing);
        const QRect frame(kInset, kInset, kSide - 2 * kInset, kSide - 2 * kInset);
        painter.setPen(QPen(QColor(160, 160, 160), 3));
        painter.drawRect(frame);
        painter.setPen(QPen(QColor(220, 60, 60), 4));
        painter.drawLine(frame.topLeft(), frame.bottomRight());
        painter.drawLine(frame.topRight(), frame.bottomLeft());
        return square;
    }();
    return mark;
}

} // namespace

ThumbnailModel::ThumbnailModel(QObject* parent)
    : QAbstractListModel(parent), loader_(kThumbnailSize, kBackground) {
    thumbnails_.setMaxCost(kKeptBytes);
    connect(&loader_, &ThumbnailLoader::made, this, &ThumbnailModel::take);
}

void ThumbnailModel::setFolder(const std::string& folder) {
    const tessarin::Location place = tessarin::Location::of(folder);
    const std::optional<tessarin::Stamp> stamp =
        place.isPlace() ? std::optional(place.stamp()) : std::nullopt;
    if (folder == folder_ && stamp && stamp == stamp_) {
        dropRewritten(); // unchanged but for files written in place
        return;
    }
    const std::vector<tessarin::Location> places = tessarin::placesIn(place);
    const std::vector<tessarin::FileSource::ListedScreenFile> files =
        tessarin::fileSource().listedScreenFilesOf(place);
    beginResetModel();
    loader_.clear();
    thumbnails_.clear();
    problems_.clear();
    madeStamps_.clear();
    folder_ = folder;
    stamp_ = stamp;
    listed_.clear();
    places_ = static_cast<int>(places.size());
    placeIcons_.clear();
    names_.clear();
    modes_.clear();
    for (const tessarin::Location& shown : places) {
        listed_.push_back(shown);
        names_ << shownName(shown.nameInFolder());
        modes_.emplace_back();
        placeIcons_.push_back(shown.holdsFiles() ? QStyle::SP_DriveFDIcon : QStyle::SP_DirIcon);
    }
    for (const tessarin::FileSource::ListedScreenFile& listed : files) {
        listed_.push_back(listed.file);
        names_ << shownName(listed.file.nameInFolder());
        // A file whose name and bytes give no mode is shown in a new viewer's.
        modes_.push_back(listed.mode ? listed.mode->mode : tessarin::kDefaultScreenMode);
    }
    endResetModel();
}

void ThumbnailModel::prefetch(int row) {
    const int first = std::max(0, row - kPrefetchReach);
    const int last = std::min(rowCount() - 1, row + kPrefetchReach);
    // Each request goes before those already waiting: the farthest first, the row last.
    for (int reach = kPrefetchReach; reach >= 0; --reach) {
        for (const int r : {row + reach, row - reach}) {
            if (r >= first && r <= last && !isMade(r)) {
                loader_.request(r, locationAt(r));
            }
        }
    }
}

std::optional<int> ThumbnailModel::rowOf(const std::string& path) const {
    const auto it = std::ranges::find(listed_, path, &tessarin::Location::path);
    if (it == listed_.end()) {
        return std::nullopt;
    }
    return static_cast<int>(it - listed_.begin());
}

int ThumbnailModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(listed_.size());
}

QVariant ThumbnailModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || index.row() >= rowCount()) {
        return {};
    }
    const int row = index.row();
    switch (role) {
    case Qt::DisplayRole:
        return names_.at(row);
    case Qt::ToolTipRole:
        if (problems_.contains(row)) {
            return problems_.value(row);
        }
        if (const auto mode = modeAt(row)) {
            return names_.at(row) + QStringLiteral(" (%1)").arg(
                                        QString::fromStdString(tessarin::screenCaption(*mode)));
        }
        return names_.at(row);
    case kPathRole:
        return shownName(pathAt(row));
    case kProblemRole:
        return problems_.value(row);
    case Qt::DecorationRole:
        if (isPlace(row)) {
            return QApplication::style()->standardIcon(placeIcons_.at(row));
        }
        if (problems_.contains(row)) {
            return brokenMark();
        }
        if (const QPixmap* thumbnail = thumbnails_.object(row)) {
            // Selected as it is: a style would tint the picture's colours, the view's
            // highlight marks the selection.
            QIcon icon(*thumbnail);
            icon.addPixmap(*thumbnail, QIcon::Selected);
            return icon;
        }
        loader_.request(row, locationAt(row)); // painted now: made before what was scrolled past
        return placeholder();
    default:
        return {};
    }
}

void ThumbnailModel::dropRewritten() {
    for (auto it = madeStamps_.begin(); it != madeStamps_.end();) {
        const int row = it->first;
        if (!isMade(row)) { // dropped from the cache: made again when painted
            it = madeStamps_.erase(it);
            continue;
        }
        if (it->second == tessarin::stampOf(pathAt(row), tessarin::EntryType::regularFile)) {
            ++it;
            continue;
        }
        thumbnails_.remove(row);
        problems_.remove(row);
        it = madeStamps_.erase(it);
        const QModelIndex changed = index(row);
        emit dataChanged(changed, changed, {Qt::DecorationRole, Qt::ToolTipRole});
    }
}

void ThumbnailModel::take(int row, const QImage& thumbnail, const QString& problem,
                          const std::optional<tessarin::Stamp>& stamp) {
    if (row >= rowCount()) {
        return;
    }
    madeStamps_.insert_or_assign(row, stamp);
    if (thumbnail.isNull()) {
        problems_.insert(row, problem);
    } else {
        const qsizetype bytes = thumbnail.sizeInBytes();
        thumbnails_.insert(row, new QPixmap(QPixmap::fromImage(thumbnail)), bytes);
    }
    const QModelIndex changed = index(row);
    emit dataChanged(changed, changed, {Qt::DecorationRole, Qt::ToolTipRole});
}
