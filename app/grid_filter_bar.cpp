#include "app/grid_filter_bar.h"

#include "app/thumbnail_grid.h"

#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>

GridFilterBar::GridFilterBar(ThumbnailGrid& grid, QWidget* parent)
    : QWidget(parent), grid_(grid), field_(new QLineEdit(this)), count_(new QLabel(this)) {
    setObjectName(QStringLiteral("gridFilterBar"));
    field_->setObjectName(QStringLiteral("gridFilter"));
    field_->setPlaceholderText(QStringLiteral("Filter by name or mode (Screen 5, SC5)"));
    field_->setClearButtonEnabled(true);
    field_->installEventFilter(this);
    count_->setObjectName(QStringLiteral("gridFilterCount"));
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(new QLabel(QStringLiteral("Filter:"), this));
    layout->addWidget(field_, 1);
    layout->addWidget(count_);
    connect(field_, &QLineEdit::textChanged, this, [this](const QString& typed) {
        grid_.setFilter(typed);
        showCount();
    });
    connect(field_, &QLineEdit::returnPressed, &grid_, &ThumbnailGrid::chooseFirst);
    // Another folder, or the thumbnails that come, change what the grid holds.
    const ThumbnailFilter* shown = &grid_.shownRows();
    connect(shown, &QAbstractItemModel::modelReset, this, &GridFilterBar::showCount);
    connect(shown, &QAbstractItemModel::layoutChanged, this, &GridFilterBar::showCount);
    connect(shown, &QAbstractItemModel::rowsInserted, this, &GridFilterBar::showCount);
    connect(shown, &QAbstractItemModel::rowsRemoved, this, &GridFilterBar::showCount);
    hide();
}

void GridFilterBar::open() {
    show();
    showCount();
    field_->setFocus(Qt::ShortcutFocusReason);
    field_->selectAll();
}

void GridFilterBar::close() {
    const bool focused = field_->hasFocus();
    field_->clear(); // the grid shows every row again
    hide();
    if (focused) {
        grid_.setFocus();
    }
}

bool GridFilterBar::eventFilter(QObject* watched, QEvent* event) {
    if (watched == field_ && event->type() == QEvent::KeyPress &&
        static_cast<QKeyEvent*>(event)->key() == Qt::Key_Escape) {
        close();
        return true;
    }
    return QWidget::eventFilter(watched, event);
}

void GridFilterBar::showCount() {
    count_->setText(QStringLiteral("%1 of %2")
                        .arg(grid_.shownRows().rowCount())
                        .arg(grid_.thumbnails().rowCount()));
}
