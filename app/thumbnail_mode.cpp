#include "app/thumbnail_mode.h"

#include "app/thumbnail_grid.h"

#include <QAction>
#include <QMainWindow>

ThumbnailMode::ThumbnailMode(QMainWindow& window, QAction* toggle,
                             std::function<void(const std::string&)> open,
                             std::function<void()> moved)
    : QObject(&window), window_(window), toggle_(toggle), open_(std::move(open)),
      moved_(std::move(moved)) {}

void ThumbnailMode::show(const std::string& folder, const std::string& path) {
    if (grid_ == nullptr) {
        grid_ = new ThumbnailGrid(&window_);
        grid_->hide();
        connect(grid_, &ThumbnailGrid::pictureChosen, this,
                [this](const std::string& chosen) { open_(chosen); });
        connect(grid_, &ThumbnailGrid::selectionMoved, this, [this] { moved_(); });
    }
    grid_->showFolder(folder, path);
    if (!shown()) {
        // Taken out, a widget has no parent: the window keeps it to delete it.
        singleView_ = window_.takeCentralWidget();
        singleView_->setParent(&window_);
        singleView_->hide();
        window_.setCentralWidget(grid_);
        grid_->show();
    }
    grid_->setFocus();
    toggle_->setChecked(true);
}

void ThumbnailMode::hide() {
    if (shown()) {
        QWidget* grid = window_.takeCentralWidget();
        grid->setParent(&window_);
        grid->hide();
        window_.setCentralWidget(singleView_);
        singleView_->show();
        singleView_->setFocus();
        singleView_ = nullptr;
    }
    toggle_->setChecked(false);
}

bool ThumbnailMode::shown() const {
    return grid_ != nullptr && window_.centralWidget() == grid_;
}
