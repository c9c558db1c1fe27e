#pragma once

#include "names/name_filter.h"

#include <QSortFilterProxyModel>

class ThumbnailModel;

// The rows of a thumbnail model that the grid's filter text keeps (NameFilter over each
// row's name and the names of its mode), in the model's order.
class ThumbnailFilter : public QSortFilterProxyModel {
    Q_OBJECT

public:
    ThumbnailFilter(ThumbnailModel& thumbnails, QObject* parent = nullptr);

    // Keeps the rows that typed keeps from now on; an empty text keeps every row.
    void setText(const QString& typed);
    // Whether some text filters the rows.
    [[nodiscard]] bool filters() const { return !filter_.empty(); }

protected:
    [[nodiscard]] bool filterAcceptsRow(int sourceRow,
                                        const QModelIndex& sourceParent) const override;

private:
    const ThumbnailModel& thumbnails_;
    tessarin::NameFilter filter_;
};
