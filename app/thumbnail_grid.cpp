#include "app/thumbnail_grid.h"

#include <QKeyEvent>
#include <array>

namespace {

// Room for a thumbnail and a line of its name under it.
constexpr int kCellMargin = 16;
constexpr int kNameLines = 1;

// The keys the grid keeps from the window's shortcuts (Page Down browses there).
constexpr std::array kGridKeys{Qt::Key_Left,   Qt::Key_Right, Qt::Key_Up,     Qt::Key_Down,
                               Qt::Key_Home,   Qt::Key_End,   Qt::Key_PageUp, Qt::Key_PageDown,
                               Qt::Key_Return, Qt::Key_Enter};

bool isGridKey(const QKeyEvent& key) {
    return key.modifiers() == Qt::NoModifier || key.modifiers() == Qt::KeypadModifier
               ? std::ranges::find(kGridKeys, key.key()) != kGridKeys.end()
               : false;
}

} // namespace

ThumbnailGrid::ThumbnailGrid(QWidget* parent)
    : QListView(parent), model_(this), filter_(model_, this) {
    setObjectName(QStringLiteral("thumbnailGrid"));
    setViewMode(QListView::IconMode);
    setMovement(QListView::Static);
    setResizeMode(QListView::Adjust);
    setWrapping(true);
    setUniformItemSizes(true);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setVerticalScrollMode(QAbstractItemView::ScrollPerPixel);
    setTextElideMode(Qt::ElideMiddle);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    const int side = ThumbnailModel::kThumbnailSize;
    setIconSize({side, side});
    setGridSize(
        {side + kCellMargin, side + kCellMargin + kNameLines * fontMetrics().lineSpacing()});
    setModel(&filter_);
    connect(this, &QAbstractItemView::doubleClicked, this, &ThumbnailGrid::choose);
}

void ThumbnailGrid::showFolder(const std::string& folder, const std::string& path) {
    model_.setFolder(folder);
    if (filter_.rowCount() == 0) {
        return;
    }
    QModelIndex selected;
    if (const auto row = model_.rowOf(path)) {
        selected = filter_.mapFromSource(model_.index(*row));
    }
    if (!selected.isValid()) {
        selected = filter_.index(0, 0);
    }
    model_.prefetch(filter_.mapToSource(selected).row());
    select(selected);
}

void ThumbnailGrid::setFilter(const QString& typed) {
    filter_.setText(typed);
    if (filter_.filters() || !currentIndex().isValid()) {
        select(filter_.index(0, 0));
    } else {
        scrollTo(currentIndex(), QAbstractItemView::PositionAtCenter);
    }
}

void ThumbnailGrid::chooseFirst() {
    choose(filter_.index(0, 0));
}

void ThumbnailGrid::select(const QModelIndex& index) {
    if (index.isValid()) {
        setCurrentIndex(index);
        scrollTo(index, QAbstractItemView::PositionAtCenter);
    }
}

std::string ThumbnailGrid::selectedPath() const {
    const QModelIndex current = currentIndex();
    return current.isValid() ? model_.pathAt(filter_.mapToSource(current).row()) : std::string();
}

bool ThumbnailGrid::event(QEvent* event) {
    if (event->type() == QEvent::ShortcutOverride && isGridKey(*static_cast<QKeyEvent*>(event))) {
        event->accept();
        return true;
    }
    return QListView::event(event);
}

void ThumbnailGrid::currentChanged(const QModelIndex& current, const QModelIndex& previous) {
    QListView::currentChanged(current, previous);
    emit selectionMoved();
}

void ThumbnailGrid::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        choose(currentIndex());
        return;
    }
    QListView::keyPressEvent(event);
}

void ThumbnailGrid::choose(const QModelIndex& index) {
    if (index.isValid()) {
        emit pictureChosen(model_.pathAt(filter_.mapToSource(index).row()));
    }
}
