#include "app/main_window.h"

#include "app/about_box.h"
#include "app/client_area.h"
#include "app/file_filters.h"
#include "dialogs/error_report.h"
#include "dialogs/vram_mapping_dialog.h"
#include "document/file_name_rule.h"
#include "document/file_source.h"
#include "image/bmp_encoder.h"
#include "image/image_format.h"
#include "image/png_encoder.h"
#include "platform/file_system.h"
#include "platform/target_file.h"

#include <QAction>
#include <QActionGroup>
#include <QClipboard>
#include <QCloseEvent>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QGuiApplication>
#include <QImage>
#include <QKeyEvent>
#include <QLabel>
#include <QLayout>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QMimeData>
#include <QPainter>
#include <QSettings>
#include <QStatusBar>
#include <QUrl>
#include <algorithm>
#include <cmath>
#include <cstddef>

using tessarin::FileSlot;
using tessarin::ImageSize;
using tessarin::ScreenMode;
using tessarin::ViewMode;
using tessarin::ViewSize;

namespace {

const QString kCaption = QStringLiteral("Tessarin");
const QString kCaptionPrefix = QStringLiteral("Tessarin - ");
const char* const kTempFilePrefix = "msx";
// ";*.X" for each extension (of name(entry)) that the three-letter pattern "prefix?" or
// "prefix??" misses.
template <typename Extensions, typename Name>
QString patternsBeyond(std::string_view prefix, const Extensions& extensions, Name name) {
    QString result;
    for (const auto& entry : extensions) {
        const std::string_view extension = name(entry);
        if (extension.size() != 3 || !extension.starts_with(prefix)) {
            result += QStringLiteral(";*.") +
                      QString::fromLatin1(extension.data(), qsizetype(extension.size()));
        }
    }
    return result;
}

// The open commands' dialog: its first filter for screen files and disk images, its
// second for palettes; every extension the name rule knows. Raw literals: "??)" would
// read as a trigraph.
QString openFilters() {
    const auto screen = [](const tessarin::ScreenExtension& e) { return e.extension; };
    const auto palette = [](std::string_view e) { return e; };
    return QStringLiteral(R"f(MSX Graphic file(*.s??)|*.S??)f") +
           patternsBeyond("S", tessarin::kScreenExtensions, screen) + QStringLiteral(";*") +
           QString::fromLatin1(tessarin::kDiskExtension) +
           QStringLiteral(R"f(|MSX Palette file(*.pl?)|*.PL?)f") +
           patternsBeyond("PL", tessarin::kPaletteExtensions, palette) +
           QStringLiteral(R"f(|All of file(*.*)|*.*)f");
}
const QString kSaveFilters =
    QStringLiteral(R"f(Bit Map file(*.bmp)|*.BMP|PNG image (*.png)|*.png|All of file(*.*)|*.*)f");
constexpr int kScreenFilter = 1;
constexpr int kPaletteFilter = 2;
constexpr int kBitmapFilter = 1;
constexpr int kPngFilter = 2;
const QString kBitmapSuffix = QStringLiteral("bmp");
const QString kPngSuffix = QStringLiteral("png");

// The folder of the last file opened or saved, kept between runs.
const QString kSettingsName = QStringLiteral("Tessarin");
const QString kLastFolderKey = QStringLiteral("lastFolder");
// The window's place, zoom and full screen, and the files opened last, newest first.
const QString kGeometryKey = QStringLiteral("geometry");
const QString kZoomKey = QStringLiteral("zoom");
const QString kFullScreenKey = QStringLiteral("fullScreen");
const QString kRecentFilesKey = QStringLiteral("recentFiles");
constexpr qsizetype kRecentFileCount = 8;

const QString kLastFileMessage = QStringLiteral("Last file");
const QString kFirstFileMessage = QStringLiteral("First file");
constexpr int kStatusMessageMilliseconds = 3000;

// Around the picture when the window is larger, or of another shape.
const QColor kLetterboxColour(24, 24, 24);

// At most this many names are taken from the command line and from one drop.
constexpr std::size_t kMaxFilesAtOnce = 2;

// File names travel as the bytes the system uses for them.
std::string localName(const QString& fileName) {
    return QFile::encodeName(fileName).toStdString();
}
QString shownName(const std::string& fileName) {
    return QFile::decodeName(fileName.c_str());
}

QFileDialog* makeFileDialog(QWidget* parent, const char* name, const QString& filterList) {
    auto* dialog = new QFileDialog(parent);
    dialog->setObjectName(QLatin1String(name));
    // Qt's own dialog: the same on every desktop, and one that tests can drive.
    dialog->setOption(QFileDialog::DontUseNativeDialog);
    // The lists show their texts as written; the patterns behind them are case-free.
    dialog->setOption(QFileDialog::HideNameFilterDetails);
    dialog->setNameFilters(tessarin::nameFiltersOf(filterList));
    return dialog;
}

// The picture's pixels as an image that does not own them: RgbTriple rows are blue,
// green, red, which is BGR888.
QImage imageOf(const tessarin::Picture& picture) {
    return {reinterpret_cast<const uchar*>(picture.pixels().data()), picture.width(),
            picture.height(), picture.width() * static_cast<int>(sizeof(tessarin::RgbTriple)),
            QImage::Format_BGR888};
}

void selectFilter(QFileDialog* dialog, int filterIndex) {
    dialog->selectNameFilter(dialog->nameFilters().value(filterIndex - 1));
}

// Whether filter, as the dialog reports it, is its filter at filterIndex (from 1). Hiding
// the details, the dialog reports a filter as it shows it: without the patterns that
// nameFiltersOf adds in parentheses to every filter.
[[nodiscard]] bool isFilter(const QFileDialog* dialog, const QString& filter, int filterIndex) {
    return dialog->nameFilters().value(filterIndex - 1).startsWith(filter + QStringLiteral(" ("));
}

QSettings viewerSettings() {
    return QSettings(kSettingsName, kSettingsName);
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
    : QMainWindow(parent) {
    setObjectName(QStringLiteral("mainWindow"));
    setWindowTitle(kCaption);
    menu = buildMainMenu(*this);
    fillRecentMenu(viewerSettings().value(kRecentFilesKey).toStringList());
    clientArea = new ClientArea(*this);
    setCentralWidget(clientArea);
    const auto addStatus = [this](const char* name) {
        auto* label = new QLabel(statusBar());
        label->setObjectName(QLatin1String(name));
        statusBar()->addWidget(label);
        return label;
    };
    statusFile = addStatus("statusFile");
    statusMode = addStatus("statusMode");
    statusLayout = addStatus("statusLayout");
    statusPalette = addStatus("statusPalette");
    statusSize = addStatus("statusSize");

    tempBitmapFileName = tessarin::makeTempFile(kTempFilePrefix);
    try {
        document = std::make_unique<tessarin::ScreenDocument>();
        setAutomaticSize();
        selectScreenMode(tessarin::kDefaultScreenMode);
        setAcceptDrops(true);
        const std::size_t count = std::min(arguments.size(), kMaxFilesAtOnce);
        for (std::size_t i = 0; i < count; ++i) {
            // A bad name does not keep the good ones from opening: start-up reports them.
            try {
                openFileByName(arguments[i]);
            } catch (const tessarin::FileError& error) {
                startUpErrors_ << QString::fromLocal8Bit(error.what());
            }
        }
    } catch (...) {
        // No window will close to delete it.
        tessarin::deleteFile(tempBitmapFileName);
        throw;
    }
}

MainWindow::~MainWindow() {
    if (document) {
        closeDocument();
    }
}

void MainWindow::openFileByName(const std::string& fileName) {
    try {
        openedByChoice(document->openByName(fileName));
    } catch (const tessarin::ReloadError&) {
        // The new file is in all the same: it is shown before the old one is reported.
        openedByChoice(tessarin::chooseByFileName(fileName).slot);
        throw;
    }
}

void MainWindow::openFileInto(const std::string& fileName, FileSlot slot) {
    try {
        document->openInto(fileName, slot);
    } catch (const tessarin::ReloadError&) {
        openedByChoice(slot); // a disk image's picture is in all the same, as openFileByName shows
        throw;
    }
    openedByChoice(slot);
}

void MainWindow::opened(FileSlot slot) {
    if (slot == FileSlot::vram0) {
        // The document's name: a disk image's picture is "GAME.DSK/PIC.SC5".
        setWindowTitle(kCaptionPrefix + shownName(document->fileName(FileSlot::vram0)));
    }
    followPicture(); // the file's name may have chosen the mode, its companion VRAM1
    showPicture();
}

void MainWindow::openedByChoice(FileSlot slot) {
    opened(slot);
    if (slot == FileSlot::vram0) {
        rememberRecent(document->fileName(FileSlot::vram0));
    }
}

void MainWindow::rememberRecent(const std::string& fileName) {
    const QString shown = QFileInfo(shownName(fileName)).absoluteFilePath();
    QSettings settings = viewerSettings();
    QStringList recent = settings.value(kRecentFilesKey).toStringList();
    recent.removeAll(shown);
    recent.prepend(shown);
    while (recent.size() > kRecentFileCount) {
        recent.removeLast();
    }
    settings.setValue(kRecentFilesKey, recent);
    fillRecentMenu(recent);
}

void MainWindow::fillRecentMenu(const QStringList& recent) {
    menu.recentMenu->clear();
    for (const QString& file : recent) {
        QAction* item = menu.recentMenu->addAction(file);
        // Queued, as the other commands: the menu is done with the click before the file opens.
        connect(
            item, &QAction::triggered, this,
            [this, file] { tessarin::reportErrors([&] { openFileByName(localName(file)); }); },
            Qt::QueuedConnection);
    }
}

void MainWindow::selectScreenMode(ScreenMode mode) {
    try {
        document->selectScreenMode(mode);
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
    if (document->hasPicture()) {
        showPicture();
    }
}

void MainWindow::setViewSize(ViewSize size) {
    automaticSize_ = false;
    const auto shape = tessarin::shapeOf(document->viewMode());
    applyViewMode(tessarin::viewModeOf(size, shape && shape->rotated));
}

void MainWindow::setAutomaticSize() {
    automaticSize_ = true;
    const auto shape = tessarin::shapeOf(document->viewMode());
    applyViewMode(tessarin::viewModeOf(
        tessarin::automaticSizeOf(document->vdp().screenMode(), document->hasVram1()),
        shape && shape->rotated));
}

void MainWindow::toggleRotation() {
    if (const auto shape = tessarin::shapeOf(document->viewMode())) {
        applyViewMode(tessarin::viewModeOf(shape->size, !shape->rotated));
    } else {
        updateActions(); // Qt flipped the mark; the view stays as it is
    }
}

void MainWindow::paintClientArea(QPainter& canvas) const {
    if (!hasPicture()) {
        return;
    }
    const tessarin::ViewRect place = pictureRect();
    const QRect target(place.x, place.y, place.width, place.height);
    // Only the border: the picture covers the rest.
    canvas.setClipRegion(QRegion(clientArea->rect()).subtracted(target));
    canvas.fillRect(clientArea->rect(), kLetterboxColour);
    canvas.setClipping(false);
    // Whole pixels stay sharp; the TV's pixel shapes blend their columns.
    canvas.setRenderHint(QPainter::SmoothPixmapTransform, aspect_ != tessarin::PixelAspect::square);
    canvas.drawImage(target, imageOf(document->picture()));
}

tessarin::ViewRect MainWindow::pictureRect() const {
    const tessarin::Picture& picture = document->picture();
    return tessarin::placeView({picture.width(), picture.height()},
                               tessarin::pixelAspectOf(document->viewMode(), aspect_),
                               {clientArea->width(), clientArea->height()}, viewFit(), zoom_);
}

tessarin::ViewFit MainWindow::viewFit() const {
    if (stretchToWindow_) {
        return tessarin::ViewFit::stretch;
    }
    return fitToWindow_ ? tessarin::ViewFit::window : tessarin::ViewFit::zoom;
}

void MainWindow::zoomBy(int steps) {
    setZoom(zoom_ + steps);
}

void MainWindow::setZoom(int zoom) {
    zoom_ = std::clamp(zoom, tessarin::kMinZoom, tessarin::kMaxZoom);
    fitToWindow_ = false;
    stretchToWindow_ = false;
    fitClientSize(document->viewMode());
    updateActions();
    clientArea->update();
}

void MainWindow::setFitToWindow(bool on) {
    fitToWindow_ = on;
    updateActions();
    clientArea->update();
}

void MainWindow::setStretchToWindow(bool on) {
    stretchToWindow_ = on;
    updateActions();
    clientArea->update();
}

void MainWindow::setFullScreen(bool on) {
    if (on) {
        showFullScreen();
    } else {
        showNormal();
    }
    updateActions();
}

void MainWindow::setColourModel(tessarin::ColourModel model) {
    document->setColourModel(model);
    updateActions();
    if (document->hasPicture()) {
        showPicture();
    }
}

void MainWindow::setPixelAspect(tessarin::PixelAspect aspect) {
    aspect_ = aspect;
    fitClientSize(document->viewMode());
    updateActions();
    clientArea->update();
}

void MainWindow::restoreView(const QRect& screenArea) {
    const QSettings settings = viewerSettings();
    const QByteArray geometry = settings.value(kGeometryKey).toByteArray();
    if (geometry.isEmpty()) {
        // Half the screen's area, in the screen's shape, less the bars around the picture.
        const int bars = height() - clientArea->height();
        const auto half = [](int edge) { return static_cast<int>(std::lround(edge * M_SQRT1_2)); };
        const auto image = tessarin::imageSizeOf(document->viewMode(), fittedLines_);
        if (image) {
            setZoom(tessarin::largestZoomWithin(
                *image, tessarin::pixelAspectOf(document->viewMode(), aspect_),
                {half(screenArea.width()), half(screenArea.height()) - bars}));
        }
        QRect frame = frameGeometry();
        frame.moveCenter(screenArea.center());
        move(frame.topLeft());
        return;
    }
    setZoom(settings.value(kZoomKey, tessarin::kMinZoom).toInt());
    restoreGeometry(geometry);
    if (settings.value(kFullScreenKey, false).toBool()) {
        setWindowState(windowState() | Qt::WindowFullScreen);
    }
    updateActions();
}

void MainWindow::saveView() const {
    QSettings settings = viewerSettings();
    settings.setValue(kGeometryKey, saveGeometry());
    settings.setValue(kZoomKey, zoom_);
    settings.setValue(kFullScreenKey, isFullScreen());
}

void MainWindow::closeDocument() {
    document.reset();
    tessarin::deleteFile(tempBitmapFileName);
    pictureSaved_ = false;
}

void MainWindow::openDroppedFiles(QDropEvent* event) {
    std::vector<std::string> names;
    for (const QUrl& url : event->mimeData()->urls()) {
        if (names.size() == kMaxFilesAtOnce) {
            break;
        }
        if (url.isLocalFile()) {
            names.push_back(localName(url.toLocalFile()));
        }
    }
    event->acceptProposedAction();
    for (const std::string& name : names) {
        if (!tessarin::reportErrors([&] { openFileByName(name); })) {
            break; // as a command stops at its first error
        }
    }
}

void MainWindow::openVram0File() {
    tessarin::reportErrors([this] { openWithDialog(kScreenFilter, FileSlot::vram0); });
}
void MainWindow::openVram1File() {
    tessarin::reportErrors([this] { openWithDialog(kScreenFilter, FileSlot::vram1); });
}
void MainWindow::openPaletteFile() {
    tessarin::reportErrors([this] { openWithDialog(kPaletteFilter, FileSlot::palette); });
}

void MainWindow::saveAs() {
    tessarin::reportErrors([this] { saveWithDialog(); });
}

void MainWindow::saveWithDialog() {
    QFileDialog* saveDialog = saveFileDialog();
    selectFilter(saveDialog, kBitmapFilter);
    saveDialog->setDefaultSuffix(kBitmapSuffix);
    saveDialog->setDirectory(startFolder());
    if (const std::string& screenFile = document->fileName(FileSlot::vram0); !screenFile.empty()) {
        saveDialog->selectFile(QFileInfo(shownName(screenFile)).completeBaseName());
    }
    if (saveDialog->exec() != QDialog::Accepted || !pictureSaved_) {
        return;
    }
    const QStringList files = saveDialog->selectedFiles();
    if (files.isEmpty()) {
        return;
    }
    const QFileInfo target(files.first());
    rememberFolder(target);
    // The typed extension names the format; without one, the chosen filter does.
    const auto named = tessarin::formatOfName(localName(target.fileName()));
    const bool png = named ? *named == tessarin::ImageFormat::png
                           : isFilter(saveDialog, saveDialog->selectedNameFilter(), kPngFilter);
    // The shown files stay: a picture saved over one would lose it.
    tessarin::refuseInputAsTarget(localName(target.filePath()), document->inputFiles());
    // A failed write throws FileError naming the target: the user hears of it.
    if (png) {
        tessarin::writeTargetFile(localName(target.filePath()),
                                  tessarin::encodePng(document->picture()),
                                  tessarin::ReplaceMode::replace);
    } else {
        tessarin::copyFile(tempBitmapFileName, localName(target.filePath()));
    }
}

void MainWindow::openNextFile() {
    tessarin::reportErrors([this] { browse(1); });
}
void MainWindow::openPreviousFile() {
    tessarin::reportErrors([this] { browse(-1); });
}

void MainWindow::browse(int step) {
    if (document->openNeighbour(step)) {
        opened(FileSlot::vram0);
    } else if (document->hasPicture()) {
        statusBar()->showMessage(step > 0 ? kLastFileMessage : kFirstFileMessage,
                                 kStatusMessageMilliseconds);
    }
}

void MainWindow::copyPicture() {
    if (hasPicture()) {
        // A copy that owns its bytes: the clipboard outlives the next render.
        QGuiApplication::clipboard()->setImage(imageOf(document->picture()).copy());
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
        document->copyVram0ToVram1();
        showPicture();
    });
}

void MainWindow::editVramMapping() {
    // Made at first use, as the file dialogs: most runs never show it.
    if (mappingDialog == nullptr) {
        mappingDialog = new VramMappingDialog(this);
    }
    mappingDialog->document = document.get();
    if (mappingDialog->exec() == QDialog::Accepted) {
        tessarin::reportErrors([this] {
            try {
                document->applyMapping(mappingDialog->mapping);
            } catch (const tessarin::FileError&) {
                showDocument(); // what the document holds after the failed reload
                throw;
            }
            showPicture();
        });
    } else {
        // Undoes what the dialog's palette buttons previewed.
        document->restorePalette();
    }
}

void MainWindow::showAbout() {
    if (aboutBox == nullptr) {
        aboutBox = new AboutBox(this);
    }
    aboutBox->exec();
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
    setFitToWindow(menu.fitToWindow->isChecked());
}
void MainWindow::toggleStretch() {
    setStretchToWindow(menu.stretchToWindow->isChecked());
}
void MainWindow::toggleFullScreen() {
    setFullScreen(menu.fullScreen->isChecked());
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
    QMainWindow::keyPressEvent(event);
}

void MainWindow::closeEvent(QCloseEvent* event) {
    if (document) {
        saveView();
        closeDocument();
    }
    event->accept();
}

void MainWindow::dragEnterEvent(QDragEnterEvent* event) {
    const QList<QUrl> urls = event->mimeData()->urls();
    if (std::any_of(urls.begin(), urls.end(), [](const QUrl& url) { return url.isLocalFile(); })) {
        event->acceptProposedAction();
    }
}

void MainWindow::dropEvent(QDropEvent* event) {
    openDroppedFiles(event);
}

void MainWindow::openWithDialog(int filterIndex, FileSlot slot) {
    QFileDialog* openDialog = openFileDialog();
    selectFilter(openDialog, filterIndex);
    openDialog->setDirectory(startFolder());
    if (openDialog->exec() != QDialog::Accepted) {
        return;
    }
    const QStringList files = openDialog->selectedFiles();
    if (!files.isEmpty()) {
        rememberFolder(QFileInfo(files.first()));
        openFileInto(localName(files.first()), slot);
    }
}

QFileDialog* MainWindow::openFileDialog() {
    // Made at first use: the dialogs cost start-up time, most runs open nothing by them.
    if (openDialog_ == nullptr) {
        openDialog_ = makeFileDialog(this, "openDialog", openFilters());
        openDialog_->setAcceptMode(QFileDialog::AcceptOpen);
        openDialog_->setFileMode(QFileDialog::ExistingFile);
    }
    return openDialog_;
}

QFileDialog* MainWindow::saveFileDialog() {
    if (saveDialog_ != nullptr) {
        return saveDialog_;
    }
    QFileDialog* dialog = saveDialog_ = makeFileDialog(this, "saveDialog", kSaveFilters);
    dialog->setAcceptMode(QFileDialog::AcceptSave);
    dialog->setFileMode(QFileDialog::AnyFile);
    dialog->setDefaultSuffix(kBitmapSuffix);
    // A name typed without an extension takes the one of the format chosen.
    connect(dialog, &QFileDialog::filterSelected, this, [dialog](const QString& filter) {
        const QString suffix = isFilter(dialog, filter, kPngFilter) ? kPngSuffix : kBitmapSuffix;
        dialog->setDefaultSuffix(suffix);
        // Qt's dialog has just put the filter's case-free pattern ("[Pp][Nn][Gg]") in place
        // of a typed extension: the name gets the real one.
        if (auto* name = dialog->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"))) {
            const QString typed = QFileInfo(name->text()).suffix();
            if (typed.startsWith(u'[')) {
                name->setText(name->text().chopped(typed.size()) + suffix);
            }
        }
    });
    return dialog;
}

QString MainWindow::startFolder() const {
    if (const std::string& screenFile = document->fileName(FileSlot::vram0); !screenFile.empty()) {
        return QFileInfo(shownName(tessarin::hostFolderOf(screenFile))).absoluteFilePath();
    }
    return viewerSettings().value(kLastFolderKey).toString();
}

void MainWindow::rememberFolder(const QFileInfo& file) {
    viewerSettings().setValue(kLastFolderKey, file.absolutePath());
}

void MainWindow::applyViewMode(ViewMode viewMode) {
    fitClientSize(viewMode);
    document->setViewMode(viewMode);
    updateActions();
    if (document->hasPicture()) {
        showPicture();
    }
}

void MainWindow::showPicture() {
    // Save As waits until the temporary file holds the new picture: a failed write
    // leaves it disabled.
    pictureSaved_ = false;
    updateActions();
    const tessarin::Picture& picture = document->render();
    clientArea->update();
    tessarin::writeBmpFile(picture, tempBitmapFileName);
    pictureSaved_ = true;
    updateActions();
}

void MainWindow::updateActions() {
    const ViewMode viewMode = document->viewMode();
    const auto shape = tessarin::shapeOf(viewMode);
    checkByData(menu.sizes, automaticSize_ ? kAutomaticSizeData
                            : shape        ? static_cast<int>(shape->size)
                                           : kNoChoice);
    menu.rotate->setChecked(shape && shape->rotated);
    checkByData(menu.screens, static_cast<int>(document->vdp().screenMode()));
    menu.saveAs->setEnabled(document->hasPicture() && pictureSaved_);
    menu.zoomIn->setEnabled(viewFit() != tessarin::ViewFit::zoom || zoom_ < tessarin::kMaxZoom);
    menu.zoomOut->setEnabled(viewFit() != tessarin::ViewFit::zoom || zoom_ > tessarin::kMinZoom);
    menu.fitToWindow->setChecked(fitToWindow_);
    menu.stretchToWindow->setChecked(stretchToWindow_);
    menu.fullScreen->setChecked(isFullScreen());
    checkByData(menu.colours, static_cast<int>(document->vdp().colourModel()));
    checkByData(menu.aspects, static_cast<int>(aspect_));
    updateStatus();
}

void MainWindow::updateStatus() {
    const tessarin::VdpState& vdp = document->vdp();
    const bool any = document->hasPicture();
    QString file = QFileInfo(shownName(document->fileName(FileSlot::vram0))).fileName();
    if (const auto place = document->browsePosition()) {
        file += QStringLiteral("  %1 / %2").arg(place->first).arg(place->second);
    }
    statusFile->setText(file);
    const std::string_view name = tessarin::findScreenMode(vdp.screenMode())->name;
    QString mode = QStringLiteral("Screen %1")
                       .arg(QString::fromLatin1(name.data(), static_cast<qsizetype>(name.size())));
    if (vdp.shownColourModel() != vdp.colourModel()) {
        mode += QStringLiteral(" (V9958 colours: the V9938 has no such mode)");
    }
    statusMode->setText(mode);
    statusLayout->setText(any ? QString::fromStdString(document->layoutDescription()) : QString());
    statusPalette->setText(any ? QString::fromStdString(document->paletteDescription())
                               : QString());
    const tessarin::Picture& picture = document->picture();
    QString size;
    if (!picture.empty()) {
        size = QStringLiteral("%1x%2").arg(picture.width()).arg(picture.height());
        switch (viewFit()) {
        case tessarin::ViewFit::zoom:
            size += QStringLiteral(" at %1x").arg(zoom_);
            break;
        case tessarin::ViewFit::window:
            size += QStringLiteral(" fitted");
            break;
        case tessarin::ViewFit::stretch:
            size += QStringLiteral(" stretched");
            break;
        }
    }
    statusSize->setText(size);
    menu.copy->setEnabled(document->hasPicture());
}

void MainWindow::fitClientSize(ViewMode viewMode) {
    fittedLines_ = tessarin::pictureLinesOf(document->vdp().screenMode());
    if (const auto size = tessarin::imageSizeOf(viewMode, fittedLines_)) {
        setClientSize(
            tessarin::zoomedSize(*size, tessarin::pixelAspectOf(viewMode, aspect_), zoom_));
    }
}

void MainWindow::followPicture() {
    const ViewMode viewMode = document->viewMode();
    if (const auto shape = tessarin::shapeOf(viewMode); automaticSize_ && shape) {
        const ViewMode wanted = tessarin::viewModeOf(
            tessarin::automaticSizeOf(document->vdp().screenMode(), document->hasVram1()),
            shape->rotated);
        if (wanted != viewMode) {
            fitClientSize(wanted);
            document->setViewMode(wanted);
            updateActions();
            return;
        }
    }
    // Between bitmap and pattern modes the page's lines change, and the view's size with them.
    if (tessarin::pictureLinesOf(document->vdp().screenMode()) != fittedLines_) {
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
    resize(size.width, size.height + menuHeight + statusHeight);
    // At an unchanged window size no resize event comes to lay out again: the central
    // widget may hold a size the user dragged. The layout places the menu bar first.
    layout()->invalidate();
    layout()->activate();
}
