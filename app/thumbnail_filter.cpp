#include "app/thumbnail_filter.h"

#include "app/local_name.h"
#include "app/thumbnail_model.h"
#include "vdp/screen_modes.h"

#include <array>
#include <string>

ThumbnailFilter::ThumbnailFilter(ThumbnailModel& thumbnails, QObject* parent)
    : QSortFilterProxyModel(parent), thumbnails_(thumbnails) {
    setSourceModel(&thumbnails);
}

void ThumbnailFilter::setText(const QString& typed) {
    filter_ = tessarin::NameFilter(tessarin::localName(typed));
    invalidateFilter();
}

bool ThumbnailFilter::filterAcceptsRow(int sourceRow, const QModelIndex&) const {
    if (filter_.empty()) {
        return true;
    }
    const std::string name = thumbnails_.locationAt(sourceRow).nameInFolder();
    const auto mode = thumbnails_.modeAt(sourceRow);
    if (!mode) {
        return filter_.keeps(name, {});
    }
    // As the status bar names it, and as a screen file's extension does.
    const std::array modeNames{tessarin::screenCaption(*mode), tessarin::screenShortName(*mode)};
    return filter_.keeps(name, modeNames);
}
