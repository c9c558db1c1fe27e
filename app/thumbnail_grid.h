#pragma once

#include "app/thumbnail_model.h"

#include <QListView>
#include <string>

// The thumbnail grid of a folder or disk image: its screen files in browsing order, a
// thumbnail each with its name under it. The arrow keys, Home, End, Page Up and Page Down
// move the selection (before the window's shortcuts take those keys); Enter or a double
// click asks for the picture selected.
class ThumbnailGrid : public QListView {
    Q_OBJECT

public:
    explicit ThumbnailGrid(QWidget* parent = nullptr);

    // Shows folder's screen files (ThumbnailModel::setFolder, FileError as there) with
    // path selected and in view; the first when path is not among them.
    void showFolder(const std::string& folder, const std::string& path);
    // The screen file selected; empty when none.
    [[nodiscard]] std::string selectedPath() const;
    // The selected file's row from 0; -1 when none.
    [[nodiscard]] int selectedRow() const { return currentIndex().row(); }
    [[nodiscard]] const ThumbnailModel& thumbnails() const { return model_; }

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

    ThumbnailModel model_;
};
