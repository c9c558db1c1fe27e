#include "app/main_window.h"

#include "app/about_box.h"
#include "app/keys_window.h"
#include "app/local_name.h"
#include "app/picture_view.h"
#include "app/thumbnail_grid.h"
#include "dialogs/error_report.h"
#include "dialogs/vram_mapping_dialog.h"
#include "document/chosen_files.h"
#include "storage/location.h"
#include "view/window_fit.h"

#include <QAction>
#include <QActionGroup>
#include <QClipboard>
#include <QCloseEvent>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLayout>
#include <QMenu>
#include <QMenuBar>
#include <QScreen>
#include <QStatusBar>
#include <QStyle>
#include <optional>

using tessarin::FileSlot;
using tessarin::ImageSize;
using tessarin::localName;
using tessarin::ScreenMode;
using tessarin::shownName;
using tessarin::ViewMode;
using tessarin::ViewSize;

namespace {

const QString kCaption = QStringLiteral("Tessarin");
const QString kCaptionPrefix = QStringLiteral("Tessarin - ");

tessarin::ViewRect viewRectOf(const QRect& rect) {
    return {rect.x(), rect.y(), rect.width(), rect.height()};
}

// The data no action of a group carries.
constexpr int kNoChoice = -2;

// The action of the group whose data is value; none when no action has it.
void checkByData(QActionGroup* group, int value) {
    for (QAction* item : group->actions()) {
        item->setChecked(item->data().toInt() == value);
    }
}

} // namespace

MainWindow::MainWindow(const std::vector<std::string>& arguments, QWidget* parent)
    : QMainWindow(parent), menu_(buildMainMenu(*this)), pictureView_(new PictureView(this)),
      status_(statusBar()), recentFiles_(menu_.recentMenu, settings_, this,
                                         [this](const std::string& file) {
                                             tessarin::reportErrors([&] { openFileByName(file); });
                                         }),
      saveAs_(this, settings_),
      thumbnails_(
          *this, menu_.thumbnails,
          [this](const std::string& file) { tessarin::reportErrors([&] { openFromGrid(file); }); },
          [this] { showGridStatus(); }) {
    setObjectName(QStringLiteral("mainWindow"));
    setWindowTitle(kCaption);
    setCentralWidget(pictureView_);
    connect(pictureView_, &PictureView::zoomAsked, this, [this](int steps) { zoomBy(steps); });
    // The menus' keys work with the menu bar hidden, as at full screen.
    for (const QMenu* menu : menuBar()->findChildren<QMenu*>()) {
        for (QAction* item : menu->actions()) {
            if (!item->shortcuts().isEmpty()) {
                addAction(item);
            }
        }
    }
    pictureView_->setFocus(); // the arrow keys scroll the picture

    document_ = std::make_unique<tessarin::ScreenDocument>();
    setAutomaticSize();
    selectScreenMode(tessarin::kDefaultScreenMode);
    setAcceptDrops(true);
    // Many pictures named (a shell's *.SC5): the first that opens shows, browsing walks
    // those named; the palettes and pages named go over it, as given. A bad name does not
    // keep the good ones from opening: start-up reports them.
    const tessarin::NamedFiles named = tessarin::sortNamedFiles(arguments);
    if (named.pictures.size() > 1) {
        document_->browseAmong(named.pictures);
    }
    const auto openNamed = [this](const std::string& name) {
        try {
            openFileByName(name);
            return true;
        } catch (const tessarin::FileError& error) {
            startUpErrors_ << QString::fromLocal8Bit(error.what());
            return false;
        }
    };
    for (const std::string& picture : named.pictures) {
        if (openNamed(picture)) {
            break;
        }
    }
    for (const std::string& other : named.others) {
        openNamed(other);
    }
}

void MainWindow::toggleThumbnails() {
    tessarin::reportErrors([this] {
        const std::string& file = document_->fileName(FileSlot::vram0);
        if (thumbnails_.shown() || file.empty()) {
            thumbnails_.hide();
        } else {
            thumbnails_.show(tessarin::Location::of(file).folder().path(), file);
        }
        updateActions();
    });
}

void MainWindow::filterThumbnails() {
    thumbnails_.openFilter();
}

void MainWindow::opened(FileSlot slot) {
    if (slot == FileSlot::vram0) {
        // The document's name: a disk image's picture is "GAME.DSK/PIC.SC5".
        setWindowTitle(kCaptionPrefix + shownName(document_->fileName(FileSlot::vram0)));
    }
    followPicture(); // the file's name may have chosen the mode, its companion VRAM1
    showPicture();
}

void MainWindow::openedByChoice(FileSlot slot) {
    opened(slot);
    if (slot == FileSlot::vram0) {
        recentFiles_.add(document_->fileName(FileSlot::vram0));
    }
}

void MainWindow::selectScreenMode(ScreenMode mode) {
    try {
        document_->selectScreenMode(mode);
    } catch (const tessarin::FileError&) {
        // The mode is in, a file of it could not be read again: menus and picture show
        // what the document now holds before the error is reported.
        showDocument();
        throw;
    }
    showDocument();
}

void MainWindow::showDocument() {
    followPicture();
    updateActions();
    if (document_->hasPicture()) {
        showPicture();
    }
}

void MainWindow::setViewSize(ViewSize size) {
    view_.setSize(size);
    applyViewMode();
}

void MainWindow::setAutomaticSize() {
    view_.setAutomaticSize();
    applyViewMode();
}

void MainWindow::toggleRotation() {
    if (tessarin::shapeOf(document_->viewMode())) {
        view_.setRotated(!view_.rotated());
        applyViewMode();
    } else {
        updateActions(); // Qt flipped the mark; the view stays as it is
    }
}

void MainWindow::zoomBy(int steps) {
    const tessarin::Picture& picture = document_->picture();
    view_.zoomBy(steps, document_->viewMode(),
                 hasPicture() ? ImageSize{picture.width(), picture.height()} : ImageSize{0, 0},
                 pictureView_->canvasSize());
    showZoom();
}

void MainWindow::setZoom(int zoom) {
    view_.setZoom(zoom);
    showZoom();
}

void MainWindow::showZoom() {
    pictureView_->setView(view_);
    fitClientSize(document_->viewMode());
    updateActions();
}

void MainWindow::setFitToWindow(bool on) {
    view_.setFitToWindow(on);
    pictureView_->setView(view_);
    updateActions();
}

void MainWindow::setStretchToWindow(bool on) {
    view_.setStretchToWindow(on);
    pictureView_->setView(view_);
    updateActions();
}

void MainWindow::setFullScreen(bool on) {
    if (on) {
        showFullScreen();
    } else {
        showNormal();
    }
    updateActions();
}

void MainWindow::changeEvent(QEvent* event) {
    QMainWindow::changeEvent(event);
    if (event->type() == QEvent::WindowStateChange && isFullScreen() != view_.fullScreenLook()) {
        showFullScreenLook(isFullScreen());
    }
}

void MainWindow::showFullScreenLook(bool on) {
    menuBar()->setVisible(!on);
    statusBar()->setVisible(!on);
    view_.setFullScreenLook(on);
    pictureView_->setView(view_);
    updateActions();
}

void MainWindow::setColourModel(tessarin::ColourModel model) {
    view_.setColourModel(model);
    document_->setColourModel(model);
    updateActions();
    if (document_->hasPicture()) {
        showPicture();
    }
}

void MainWindow::setPixelAspect(tessarin::PixelAspect aspect) {
    view_.setPixelAspect(aspect);
    pictureView_->setView(view_);
    fitClientSize(document_->viewMode());
    updateActions();
}

void MainWindow::restoreView(const QRect& screenArea) {
    const ImageSize available{screenArea.width(), screenArea.height()};
    if (const auto image = tessarin::imageSizeOf(document_->viewMode(), fittedLines_)) {
        const int remembered = settings_.zoom(0);
        setZoom(tessarin::firstWindowZoom(
            *image, view_.pixelShape(document_->viewMode()), aroundClientArea(), available,
            remembered == 0 ? std::nullopt : std::optional<int>(remembered)));
    }
    const QByteArray saved = settings_.geometry();
    if (saved.isEmpty()) {
        QRect frame = frameGeometry();
        frame.moveCenter(screenArea.center());
        move(frame.topLeft());
        return;
    }
    restoreGeometry(saved);
    // Saved on a screen gone, above a screen's top or larger: the whole frame, title bar
    // too, comes back within a screen. The platform window gives the frame's margins.
    create();
    std::vector<tessarin::ViewRect> areas{viewRectOf(screenArea)};
    for (const QScreen* each : QGuiApplication::screens()) {
        areas.push_back(viewRectOf(each->availableGeometry()));
    }
    const QRect frame = frameGeometry();
    const tessarin::ViewRect within = tessarin::placedOnScreens(viewRectOf(frame), areas);
    resize(size() + QSize(within.width - frame.width(), within.height - frame.height()));
    move(within.x, within.y); // the frame's corner: the title bar lies at it
    if (settings_.fullScreen()) {
        setWindowState(windowState() | Qt::WindowFullScreen);
    }
    updateActions();
}

void MainWindow::saveView() {
    settings_.saveView(saveGeometry(), view_.zoom(), isFullScreen());
}

void MainWindow::closeDocument() {
    document_.reset();
    pictureView_->clear();
}

void MainWindow::toggleKeepPalette() {
    document_->setKeepPalette(menu_.keepPalette->isChecked());
    status_.show(*document_, view_.fit(), view_.zoom());
}

void MainWindow::toggleSprites() {
    document_->setSpriteChoice(menu_.sprites->isChecked() ? tessarin::SpriteChoice::on
                                                          : tessarin::SpriteChoice::off);
    if (document_->hasPicture()) {
        showPicture();
    }
}

void MainWindow::toggleLargeSprites() {
    document_->setLargeSprites(menu_.largeSprites->isChecked());
    if (document_->hasPicture()) {
        showPicture();
    }
}

void MainWindow::copyPicture() {
    if (hasPicture()) {
        // A copy that owns its bytes: the clipboard outlives the next render.
        QGuiApplication::clipboard()->setImage(pictureView_->image());
    }
}

void MainWindow::sizeChosen(QAction* item) {
    const int choice = item->data().toInt();
    tessarin::reportErrors([this, choice] {
        if (choice == kAutomaticSizeData) {
            setAutomaticSize();
        } else {
            setViewSize(static_cast<ViewSize>(choice));
        }
    });
}

void MainWindow::screenChosen(QAction* item) {
    if (const auto mode = tessarin::screenModeFromNumber(item->data().toInt())) {
        tessarin::reportErrors([this, mode] { selectScreenMode(*mode); });
    }
}

void MainWindow::copyVram0ToVram1() {
    tessarin::reportErrors([this] {
        document_->copyVram0ToVram1();
        showPicture();
    });
}

void MainWindow::editVramMapping() {
    // Made at first use, as the file dialogs: most runs never show it.
    if (mappingDialog_ == nullptr) {
        mappingDialog_ = new VramMappingDialog(this);
    }
    mappingDialog_->setDocument(document_.get());
    if (mappingDialog_->exec() == QDialog::Accepted) {
        tessarin::reportErrors([this] {
            try {
                document_->applyMapping(mappingDialog_->mapping());
            } catch (const tessarin::FileError&) {
                showDocument(); // what the document holds after the failed reload
                throw;
            }
            showPicture();
        });
    } else {
        // Undoes what the dialog's palette buttons previewed.
        document_->restorePalette();
    }
}

void MainWindow::showKeys() {
    if (keysWindow_ == nullptr) {
        keysWindow_ = new KeysWindow(this);
    }
    keysWindow_->listKeys(*menuBar());
    keysWindow_->show();
    keysWindow_->raise();
}

void MainWindow::showAbout() {
    if (aboutBox_ == nullptr) {
        aboutBox_ = new AboutBox(this);
    }
    aboutBox_->exec();
}

void MainWindow::zoomIn() {
    tessarin::reportErrors([this] { zoomBy(1); });
}
void MainWindow::zoomOut() {
    tessarin::reportErrors([this] { zoomBy(-1); });
}
void MainWindow::showActualSize() {
    tessarin::reportErrors([this] { setZoom(tessarin::kMinZoom); });
}
void MainWindow::toggleFitToWindow() {
    setFitToWindow(menu_.fitToWindow->isChecked());
}
void MainWindow::toggleStretch() {
    setStretchToWindow(menu_.stretchToWindow->isChecked());
}
void MainWindow::toggleFullScreen() {
    setFullScreen(menu_.fullScreen->isChecked());
}

void MainWindow::coloursChosen(QAction* item) {
    const auto model = static_cast<tessarin::ColourModel>(item->data().toInt());
    tessarin::reportErrors([this, model] { setColourModel(model); });
}

void MainWindow::aspectChosen(QAction* item) {
    const auto aspect = static_cast<tessarin::PixelAspect>(item->data().toInt());
    tessarin::reportErrors([this, aspect] { setPixelAspect(aspect); });
}

void MainWindow::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Escape && isFullScreen()) {
        setFullScreen(false);
        return;
    }
    if (event->key() == Qt::Key_Escape && !thumbnails_.shown() &&
        !document_->fileName(FileSlot::vram0).empty()) {
        toggleThumbnails(); // back to the grid, at the picture shown
        return;
    }
    // Left and Right that scroll nothing step through the folder (PictureView).
    if (event->modifiers() == Qt::NoModifier && !thumbnails_.shown()) {
        if (event->key() == Qt::Key_Right) {
            openNextFile();
            return;
        }
        if (event->key() == Qt::Key_Left) {
            openPreviousFile();
            return;
        }
    }
    QMainWindow::keyPressEvent(event);
}

void MainWindow::closeEvent(QCloseEvent* event) {
    if (!mayLoseImport()) {
        event->ignore();
        return;
    }
    if (document_) {
        saveView();
        closeDocument();
    }
    event->accept();
}

void MainWindow::applyViewMode() {
    const ViewMode viewMode =
        view_.viewModeFor(document_->vdp().screenMode(), document_->hasVram1());
    fitClientSize(viewMode);
    document_->setViewMode(viewMode);
    updateActions();
    if (document_->hasPicture()) {
        showPicture();
    }
}

void MainWindow::showPicture() {
    pictureView_->showPicture(document_->render(), document_->viewMode(), document_->hasPicture());
    updateActions();
}

void MainWindow::updateActions() {
    const ViewMode viewMode = document_->viewMode();
    const auto shape = tessarin::shapeOf(viewMode);
    checkByData(menu_.sizes, view_.automaticSize() ? kAutomaticSizeData
                             : shape               ? static_cast<int>(shape->size)
                                                   : kNoChoice);
    menu_.rotate->setChecked(shape && shape->rotated);
    checkByData(menu_.screens, static_cast<int>(document_->vdp().screenMode()));
    // The picture's commands act on the single view, which the grid hides: Copy and Save As
    // take its picture, Next and Previous File step it, zoom and fit size it.
    const bool single = !thumbnails_.shown();
    menu_.saveAs->setEnabled(single && document_->hasPicture());
    menu_.copy->setEnabled(single && document_->hasPicture());
    menu_.zoomIn->setEnabled(single && view_.canZoomIn());
    menu_.zoomOut->setEnabled(single && view_.canZoomOut());
    for (QAction* item : {menu_.nextFile, menu_.previousFile, menu_.firstFile, menu_.lastFile,
                          menu_.actualSize, menu_.fitToWindow, menu_.stretchToWindow}) {
        item->setEnabled(single);
    }
    menu_.filterThumbnails->setEnabled(!single);
    menu_.fitToWindow->setChecked(view_.fitsToWindow());
    menu_.stretchToWindow->setChecked(view_.stretchesToWindow());
    menu_.fullScreen->setChecked(isFullScreen());
    menu_.sprites->setChecked(document_->spritesDrawn());
    menu_.largeSprites->setChecked(document_->largeSprites());
    checkByData(menu_.colours, static_cast<int>(view_.colourModel()));
    checkByData(menu_.aspects, static_cast<int>(view_.pixelAspect()));
    if (single) {
        status_.show(*document_, view_.fit(), view_.zoom());
    } else {
        showGridStatus();
    }
}

void MainWindow::showGridStatus() {
    if (!thumbnails_.shown()) {
        return; // the selection is set before the grid is in the window
    }
    const ThumbnailGrid& grid = *thumbnails_.grid();
    status_.showGrid(grid.thumbnails().folder(), grid.selectedPath(), grid.selectedRow() + 1,
                     grid.thumbnails().rowCount());
}

void MainWindow::fitClientSize(ViewMode viewMode) {
    fittedLines_ = tessarin::pictureLinesOf(document_->vdp().screenMode());
    if (const auto zoomed = view_.zoomedView(viewMode, fittedLines_)) {
        pictureView_->setZoomedSize(*zoomed);
        setClientSize(*zoomed);
    }
}

ImageSize MainWindow::aroundClientArea() const {
    const QSize around = frameGeometry().size() - pictureView_->size();
    return {around.width(), around.height()};
}

void MainWindow::followPicture() {
    const ViewMode viewMode = document_->viewMode();
    if (view_.automaticSize() && tessarin::shapeOf(viewMode)) {
        const ViewMode wanted =
            view_.viewModeFor(document_->vdp().screenMode(), document_->hasVram1());
        if (wanted != viewMode) {
            fitClientSize(wanted);
            document_->setViewMode(wanted);
            updateActions();
            return;
        }
    }
    // Between bitmap and pattern modes the page's lines change, and the view's size with them.
    if (tessarin::pictureLinesOf(document_->vdp().screenMode()) != fittedLines_) {
        fitClientSize(viewMode);
    }
}

void MainWindow::setClientSize(ImageSize size) {
    // Full screen keeps the screen; the picture is placed within it.
    if (isFullScreen()) {
        return;
    }
    // A maximised window would keep its size whatever it is asked.
    setWindowState(windowState() & ~Qt::WindowMaximized);
    const int menuHeight = menuBar()->isNativeMenuBar() ? 0 : menuBar()->heightForWidth(size.width);
    const int statusHeight =
        statusBar()->isVisible() || !isVisible() ? statusBar()->sizeHint().height() : 0;
    const QSize frame = frameGeometry().size() - this->size();
    const ImageSize around{frame.width(), menuHeight + statusHeight + frame.height()};
    // Never past the screen: a larger picture scrolls instead.
    const QScreen* shownOn = screen();
    const QRect available = shownOn != nullptr ? shownOn->availableGeometry() : QRect();
    const ImageSize window =
        available.isEmpty()
            ? ImageSize{size.width + around.width, size.height + around.height}
            : tessarin::windowSizeWithin(size, around, {available.width(), available.height()},
                                         style()->pixelMetric(QStyle::PM_ScrollBarExtent));
    resize(window.width - frame.width(), window.height - frame.height());
    if (isVisible() && !available.isEmpty()) {
        const tessarin::ViewRect within =
            tessarin::placedWithin(viewRectOf(frameGeometry()), viewRectOf(available));
        move(within.x, within.y);
    }
    // At an unchanged window size no resize event comes to lay out again: the central
    // widget may hold a size the user dragged. The layout places the menu bar first.
    layout()->invalidate();
    layout()->activate();
}
