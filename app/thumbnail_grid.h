#pragma once

#include "app/thumbnail_filter.h"
#include "app/thumbnail_model.h"

#include <QListView>
#include <string>

// The thumbnail grid of a folder or disk image: its screen files in browsing order, a
// thumbnail each with its name under it. The arrow keys, Home, End, Page Up and Page Down
// move the selection (before the window's shortcuts take those keys); Enter or a double
// click asks for the picture selected. A filter text shows only the files it keeps.
class ThumbnailGrid : public QListView {
    Q_OBJECT

public:
    explicit ThumbnailGrid(QWidget* parent = nullptr);

    // Shows folder's screen files (ThumbnailModel::setFolder, FileError as there) that the
    // filter keeps, with path selected and in view; the first shown when path is not among
    // them.
    void showFolder(const std::string& folder, const std::string& path);
    // Shows only the rows typed keeps (ThumbnailFilter), the first of them selected; an
    // empty text shows every row again, the selection kept.
    void setFilter(const QString& typed);
    // Asks for the first row shown, as Enter on it does; nothing when none is shown.
    void chooseFirst();
    // The screen file selected; empty when none.
    [[nodiscard]] std::string selectedPath() const;
    // The selected file's row of the model from 0; -1 when none.
    [[nodiscard]] int selectedRow() const { return filter_.mapToSource(currentIndex()).row(); }
    [[nodiscard]] const ThumbnailModel& thumbnails() const { return model_; }
    // The rows the filter keeps: the grid's model.
    [[nodiscard]] const ThumbnailFilter& shownRows() const { return filter_; }

signals:
    // Enter or a double click on the item of the screen file path.
    void pictureChosen(const std::string& path);
    // The selection moved to another file.
    void selectionMoved();

protected:
    bool event(QEvent* event) override;
    void currentChanged(const QModelIndex& current, const QModelIndex& previous) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    void choose(const QModelIndex& index);
    // Selects the shown index and scrolls to it.
    void select(const QModelIndex& index);

    ThumbnailModel model_;
    ThumbnailFilter filter_;
};
