#pragma once

#include <QObject>
#include <functional>
#include <string>

class GridFilterBar;
class QAction;
class QMainWindow;
class QWidget;
class ThumbnailGrid;

// The window's two views of a folder: the single picture and the thumbnail grid under its
// filter field (GridFilterBar), one in the window's central place at a time. The grid is
// made at its first use and kept, with its thumbnails and its filter, while the window
// lives; another folder's grid starts unfiltered.
class ThumbnailMode : public QObject {
    Q_OBJECT

public:
    // toggle is the View menu's item, checked while the grid shows; open is called with
    // the screen file chosen in the grid and must report its own errors; moved when the
    // grid's selection moves.
    ThumbnailMode(QMainWindow& window, QAction* toggle,
                  std::function<void(const std::string&)> open, std::function<void()> moved);

    // The grid of folder in the window, path selected (ThumbnailGrid::showFolder). FileError
    // naming a disk image that is no MSX-DOS disk; the view stays as it was.
    void show(const std::string& folder, const std::string& path);
    // The single view back in the window.
    void hide();
    // The grid's filter field shown, the focus in it; nothing while the grid is not shown.
    void openFilter();
    // Whether the grid is in the window.
    [[nodiscard]] bool shown() const;
    // The grid; null before its first show.
    [[nodiscard]] ThumbnailGrid* grid() const { return grid_; }

private:
    QMainWindow& window_;
    QAction* toggle_;
    std::function<void(const std::string&)> open_;
    std::function<void()> moved_;
    ThumbnailGrid* grid_ = nullptr;
    GridFilterBar* filterBar_ = nullptr; // with the grid
    QWidget* pane_ = nullptr;            // the two of them
    QWidget* singleView_ = nullptr;      // while the grid is in its place
};
