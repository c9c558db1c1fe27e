#include "app/thumbnail_mode.h"

#include "app/grid_filter_bar.h"
#include "app/thumbnail_grid.h"

#include <QAction>
#include <QMainWindow>
#include <QVBoxLayout>

ThumbnailMode::ThumbnailMode(QMainWindow& window, QAction* toggle,
                             std::function<void(const std::string&)> open,
                             std::function<void()> moved)
    : QObject(&window), window_(window), toggle_(toggle), open_(std::move(open)),
      moved_(std::move(moved)) {}

void ThumbnailMode::show(const std::string& folder, const std::string& path) {
    if (grid_ == nullptr) {
        pane_ = new QWidget(&window_);
        pane_->hide();
        grid_ = new ThumbnailGrid(pane_);
        filterBar_ = new GridFilterBar(*grid_, pane_);
        auto* layout = new QVBoxLayout(pane_);
        layout->setContentsMargins(0, 0, 0, 0);
        layout->setSpacing(0);
        layout->addWidget(filterBar_);
        layout->addWidget(grid_);
        connect(grid_, &ThumbnailGrid::pictureChosen, this,
                [this](const std::string& chosen) { open_(chosen); });
        connect(grid_, &ThumbnailGrid::selectionMoved, this, [this] { moved_(); });
    }
    if (folder != grid_->thumbnails().folder()) {
        filterBar_->close();
    }
    grid_->showFolder(folder, path);
    if (!shown()) {
        // Taken out, a widget has no parent: the window keeps it to delete it.
        singleView_ = window_.takeCentralWidget();
        singleView_->setParent(&window_);
        singleView_->hide();
        window_.setCentralWidget(pane_);
        pane_->show();
    }
    grid_->setFocus();
    toggle_->setChecked(true);
}

void ThumbnailMode::openFilter() {
    if (shown()) {
        filterBar_->open();
    }
}

void ThumbnailMode::hide() {
    if (shown()) {
        QWidget* pane = window_.takeCentralWidget();
        pane->setParent(&window_);
        pane->hide();
        window_.setCentralWidget(singleView_);
        singleView_->show();
        singleView_->setFocus();
        singleView_ = nullptr;
    }
    toggle_->setChecked(false);
}

bool ThumbnailMode::shown() const {
    return pane_ != nullptr && window_.centralWidget() == pane_;
}
