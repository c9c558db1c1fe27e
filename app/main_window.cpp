#include "app/main_window.h"

#include "app/about_box.h"
#include "app/client_area.h"
#include "app/file_filters.h"
#include "dialogs/vram_mapping_dialog.h"
#include "document/file_name_rule.h"
#include "platform/file_system.h"

#include <QAction>
#include <QCloseEvent>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFile>
#include <QFileDialog>
#include <QImage>
#include <QLayout>
#include <QMenuBar>
#include <QMimeData>
#include <QPainter>
#include <QUrl>
#include <algorithm>
#include <array>
#include <cstddef>

using tessarin::ImageSize;
using tessarin::ScreenMode;
using tessarin::ViewSize;

namespace {

const QString kCaption = QStringLiteral("Tessarin");
const QString kCaptionPrefix = QStringLiteral("Tessarin - ");
const char* const kTempFilePrefix = "msx";
// The open commands' dialog: its first filter for screen files, its second for palettes.
// Raw literals: "??)" would read as a trigraph.
const QString kOpenFilters = QStringLiteral(
    R"f(MSX Graphic file(*.s??)|*.S??|MSX Palette file(*.pl?)|*.PL?|All of file(*.*)|*.*)f");
const QString kSaveFilters = QStringLiteral(R"f(Bit Map file(*.bmp)|*.BMP|All of file(*.*)|*.*)f");
constexpr int kScreenFilter = 1;
constexpr int kPaletteFilter = 2;
constexpr int kBitmapFilter = 1;
const QString kSaveSuffix = QStringLiteral("bmp");

// At most this many names are taken from the command line and from one drop.
constexpr std::size_t kMaxFilesAtOnce = 2;

// Pixels per line of the files laid into VRAM: the full width of screens 6 and 7, and
// the 256 of screens 5, 8, 10/11 and 12.
constexpr std::int16_t kWideLinePixels = tessarin::kDefaultLinePixels;
constexpr std::int16_t kNarrowLinePixels = 256;

struct ScreenItem {
    ScreenMode mode;
    QAction* MainMenu::*item;
    std::int16_t linePixels;
};
constexpr std::array<ScreenItem, 6> kScreenItems{{
    {5, &MainMenu::screen5, kNarrowLinePixels},
    {6, &MainMenu::screen6, kWideLinePixels},
    {7, &MainMenu::screen7, kWideLinePixels},
    {8, &MainMenu::screen8, kNarrowLinePixels},
    {10, &MainMenu::screen10, kNarrowLinePixels},
    {12, &MainMenu::screen12, kNarrowLinePixels},
}};

// The Size items, indexed by ViewSize.
constexpr std::array<QAction * MainMenu::*, tessarin::kViewSizeCount> kSizeItems{
    &MainMenu::size256x212, &MainMenu::size512x424magnify, &MainMenu::size512x424interlace,
    &MainMenu::size256x424joint};

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

void selectFilter(QFileDialog* dialog, int filterIndex) {
    dialog->selectNameFilter(dialog->nameFilters().value(filterIndex - 1));
}

} // namespace

MainWindow::MainWindow(const std::vector<std::string>& arguments, QWidget* parent)
    : QMainWindow(parent) {
    setObjectName(QStringLiteral("mainWindow"));
    setWindowTitle(kCaption);
    menu = buildMainMenu(*this);
    openDialog = makeFileDialog(this, "openDialog", kOpenFilters);
    openDialog->setAcceptMode(QFileDialog::AcceptOpen);
    openDialog->setFileMode(QFileDialog::ExistingFile);
    saveDialog = makeFileDialog(this, "saveDialog", kSaveFilters);
    saveDialog->setAcceptMode(QFileDialog::AcceptSave);
    saveDialog->setFileMode(QFileDialog::AnyFile);
    saveDialog->setDefaultSuffix(kSaveSuffix);
    clientArea = new ClientArea(*this);
    setCentralWidget(clientArea);

    tempBitmapFileName = tessarin::makeTempFile(kTempFilePrefix);
    try {
        document = std::make_unique<tessarin::ScreenDocument>();
        menu.saveAs->setEnabled(false);
        hasPicture = false;
        setViewSize(tessarin::ViewSize::plain256x212);
        selectScreenMode(7);
        setAcceptDrops(true);
        const std::size_t count = std::min(arguments.size(), kMaxFilesAtOnce);
        for (std::size_t i = 0; i < count; ++i) {
            openFileByName(arguments[i]);
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
    const tessarin::FileNameChoice choice = tessarin::chooseByFileName(fileName);
    if (choice.slot == tessarin::FileSlot::palette) {
        openFileInto(fileName, tessarin::FileSlot::palette);
        return;
    }
    if (choice.screenMode) {
        selectScreenMode(*choice.screenMode);
    }
    openFileInto(fileName, tessarin::FileSlot::vram0);
}

void MainWindow::openFileInto(const std::string& fileName, tessarin::FileSlot slot) {
    switch (slot) {
    case tessarin::FileSlot::vram0:
        setWindowTitle(kCaptionPrefix + shownName(fileName));
        break;
    case tessarin::FileSlot::vram1:
        break;
    case tessarin::FileSlot::palette:
        document->mapping.paletteSource = tessarin::PaletteSource::file;
        break;
    default:
        return;
    }
    menu.saveAs->setEnabled(true);
    hasPicture = true;
    document->openFile(fileName, slot);
    if (slot == tessarin::FileSlot::palette) {
        document->vdp->selectPalette(tessarin::PaletteSource::file);
    }
    renderPicture();
}

void MainWindow::selectScreenMode(ScreenMode mode) {
    const auto* chosen = std::find_if(kScreenItems.begin(), kScreenItems.end(),
                                      [mode](const ScreenItem& s) { return s.mode == mode; });
    if (chosen == kScreenItems.end()) {
        return;
    }
    document->vdp->setScreenMode(mode);
    for (const ScreenItem& screen : kScreenItems) {
        (menu.*screen.item)->setChecked(false);
    }
    (menu.*chosen->item)->setChecked(true);
    document->mapping.linePixels = {chosen->linePixels, chosen->linePixels};
    if (hasPicture) {
        document->reload();
        renderPicture();
    }
}

void MainWindow::setViewSize(ViewSize size) {
    for (QAction* MainMenu::*item : kSizeItems) {
        (menu.*item)->setChecked(false);
    }
    (menu.*kSizeItems.at(static_cast<std::size_t>(size)))->setChecked(true);
    const tessarin::ViewMode viewMode = tessarin::viewModeOf(size, menu.rotate->isChecked());
    setClientSize(*tessarin::imageSizeOf(viewMode));
    document->viewMode = viewMode;
    if (hasPicture) {
        renderPicture();
    }
}

void MainWindow::paintPicture() {
    if (hasPicture) {
        clientArea->update();
    }
}

void MainWindow::paintClientArea(QPainter& canvas) {
    if (!hasPicture) {
        return;
    }
    // Read afresh each time: the file is the only rendered copy of the picture.
    const QImage picture(shownName(tempBitmapFileName));
    canvas.drawImage(clientArea->rect(), picture);
}

void MainWindow::clientAreaResized() {
    paintPicture();
}

void MainWindow::closeDocument() {
    document.reset();
    tessarin::deleteFile(tempBitmapFileName);
    hasPicture = false;
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
        openFileByName(name);
    }
}

void MainWindow::toggleRotation() {
    const int viewMode = static_cast<int>(document->viewMode);
    if (viewMode >= 0 && viewMode < tessarin::kViewSizeCount) {
        menu.rotate->setChecked(true);
        setViewSize(static_cast<ViewSize>(viewMode));
    } else if (viewMode >= tessarin::kViewSizeCount && viewMode < tessarin::kViewModeCount) {
        menu.rotate->setChecked(false);
        setViewSize(static_cast<ViewSize>(viewMode - tessarin::kViewSizeCount));
    }
}

void MainWindow::openVram0File() {
    openWithDialog(kScreenFilter, tessarin::FileSlot::vram0);
}
void MainWindow::openVram1File() {
    openWithDialog(kScreenFilter, tessarin::FileSlot::vram1);
}
void MainWindow::openPaletteFile() {
    openWithDialog(kPaletteFilter, tessarin::FileSlot::palette);
}

void MainWindow::saveAs() {
    selectFilter(saveDialog, kBitmapFilter);
    if (saveDialog->exec() != QDialog::Accepted || !hasPicture) {
        return;
    }
    const QStringList files = saveDialog->selectedFiles();
    if (!files.isEmpty()) {
        // A failed copy throws FileError naming the target: the user hears of it.
        tessarin::copyFile(tempBitmapFileName, localName(files.first()));
    }
}

void MainWindow::exitProgram() {
    close();
}

void MainWindow::size256x212Clicked() {
    setViewSize(tessarin::ViewSize::plain256x212);
}
void MainWindow::size512x424magnifyClicked() {
    setViewSize(tessarin::ViewSize::magnify512x424);
}
void MainWindow::size512x424interlaceClicked() {
    setViewSize(tessarin::ViewSize::interlace512x424);
}
void MainWindow::size256x424jointClicked() {
    setViewSize(tessarin::ViewSize::joint256x424);
}

void MainWindow::rotateClicked() {
    // Qt has flipped the mark already; toggleRotation sets it from viewMode alone.
    menu.rotate->setChecked(!menu.rotate->isChecked());
    toggleRotation();
}

void MainWindow::screen5Clicked() {
    selectScreenMode(5);
}
void MainWindow::screen6Clicked() {
    selectScreenMode(6);
}
void MainWindow::screen7Clicked() {
    selectScreenMode(7);
}
void MainWindow::screen8Clicked() {
    selectScreenMode(8);
}
void MainWindow::screen10Clicked() {
    selectScreenMode(10);
}
void MainWindow::screen12Clicked() {
    selectScreenMode(12);
}

void MainWindow::copyVram0ToVram1() {
    auto& vram = document->vdp->vram;
    std::copy_n(vram.begin(), tessarin::kVramHalfSize, vram.begin() + tessarin::kVramHalfSize);
    renderPicture();
}

void MainWindow::editVramMapping() {
    mappingDialog->document = document.get();
    const int result = mappingDialog->exec();
    // After Cancel this undoes what the dialog's palette buttons did to the VDP.
    document->vdp->selectPalette(
        static_cast<tessarin::PaletteSource>(document->mapping.paletteSource));
    if (result == QDialog::Accepted) {
        document->reload();
        renderPicture();
    }
}

void MainWindow::showAbout() {
    aboutBox->exec();
}

void MainWindow::closeEvent(QCloseEvent* event) {
    if (document) {
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

void MainWindow::openWithDialog(int filterIndex, tessarin::FileSlot slot) {
    selectFilter(openDialog, filterIndex);
    if (openDialog->exec() != QDialog::Accepted) {
        return;
    }
    const QStringList files = openDialog->selectedFiles();
    if (!files.isEmpty()) {
        openFileInto(localName(files.first()), slot);
    }
}

void MainWindow::renderPicture() {
    document->writeBitmap(tempBitmapFileName);
    paintPicture();
}

void MainWindow::setClientSize(ImageSize size) {
    // A maximised window would keep its size whatever it is asked.
    setWindowState(windowState() & ~(Qt::WindowMaximized | Qt::WindowFullScreen));
    const int menuHeight = menuBar()->isNativeMenuBar() ? 0 : menuBar()->heightForWidth(size.width);
    resize(size.width, size.height + menuHeight);
    // At an unchanged window size no resize event comes to lay out again: the central
    // widget may hold a size the user dragged. The layout places the menu bar first.
    layout()->invalidate();
    layout()->activate();
}
