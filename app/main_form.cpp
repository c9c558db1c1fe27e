#include "app/main_form.h"

#include "app/about_box.h"
#include "app/client_area.h"
#include "app/file_filters.h"
#include "dialogs/vram_map_dialog.h"
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
    QAction* TMainMenu::*item;
    std::int16_t linePixels;
};
constexpr std::array<ScreenItem, 6> kScreenItems{{
    {5, &TMainMenu::mnuScreen5, kNarrowLinePixels},
    {6, &TMainMenu::mnuScreen6, kWideLinePixels},
    {7, &TMainMenu::mnuScreen7, kWideLinePixels},
    {8, &TMainMenu::mnuScreen8, kNarrowLinePixels},
    {10, &TMainMenu::mnuScreen10, kNarrowLinePixels},
    {12, &TMainMenu::mnuScreen12, kNarrowLinePixels},
}};

// The Size items, indexed by ViewSize.
constexpr std::array<QAction * TMainMenu::*, tessarin::kViewSizeCount> kSizeItems{
    &TMainMenu::mnu256x212, &TMainMenu::mnu512x424mag, &TMainMenu::mnu512x424int,
    &TMainMenu::mnu256x424joi};

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

TfrmMainForm::TfrmMainForm(const std::vector<std::string>& arguments, QWidget* parent)
    : QMainWindow(parent) {
    setObjectName(QStringLiteral("frmMainForm"));
    setWindowTitle(kCaption);
    menu = buildMainMenu(*this);
    ofnOpenDialog = makeFileDialog(this, "ofnOpenDialog", kOpenFilters);
    ofnOpenDialog->setAcceptMode(QFileDialog::AcceptOpen);
    ofnOpenDialog->setFileMode(QFileDialog::ExistingFile);
    ofnSaveDialog = makeFileDialog(this, "ofnSaveDialog", kSaveFilters);
    ofnSaveDialog->setAcceptMode(QFileDialog::AcceptSave);
    ofnSaveDialog->setFileMode(QFileDialog::AnyFile);
    ofnSaveDialog->setDefaultSuffix(kSaveSuffix);
    clientArea = new TClientArea(*this);
    setCentralWidget(clientArea);

    tempBitmapFileName = tessarin::makeTempFile(kTempFilePrefix);
    try {
        document = std::make_unique<tessarin::TScreenDocument>();
        menu.mnuSaveAs->setEnabled(false);
        hasPicture = false;
        SetViewSize(tessarin::vs256x212);
        SelectScreenMode(7);
        setAcceptDrops(true);
        const std::size_t count = std::min(arguments.size(), kMaxFilesAtOnce);
        for (std::size_t i = 0; i < count; ++i) {
            OpenFileByName(arguments[i]);
        }
    } catch (...) {
        // No window will close to delete it.
        tessarin::deleteFile(tempBitmapFileName);
        throw;
    }
}

TfrmMainForm::~TfrmMainForm() {
    if (document) {
        FormClose();
    }
}

void TfrmMainForm::OpenFileByName(const std::string& fileName) {
    const tessarin::FileNameChoice choice = tessarin::chooseByFileName(fileName);
    if (choice.slot == tessarin::fsPalette) {
        OpenFileInto(fileName, tessarin::fsPalette);
        return;
    }
    if (choice.screenMode) {
        SelectScreenMode(*choice.screenMode);
    }
    OpenFileInto(fileName, tessarin::fsVram0);
}

void TfrmMainForm::OpenFileInto(const std::string& fileName, int slot) {
    switch (slot) {
    case tessarin::fsVram0:
        setWindowTitle(kCaptionPrefix + shownName(fileName));
        break;
    case tessarin::fsVram1:
        break;
    case tessarin::fsPalette:
        document->mapping.paletteSource = tessarin::psFile;
        break;
    default:
        return;
    }
    menu.mnuSaveAs->setEnabled(true);
    hasPicture = true;
    document->OpenFile(fileName, slot);
    if (slot == tessarin::fsPalette) {
        document->vdp->selectPalette(tessarin::psFile);
    }
    RenderPicture();
}

void TfrmMainForm::SelectScreenMode(ScreenMode mode) {
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
        document->Reload();
        RenderPicture();
    }
}

void TfrmMainForm::SetViewSize(ViewSize size) {
    for (QAction* TMainMenu::*item : kSizeItems) {
        (menu.*item)->setChecked(false);
    }
    (menu.*kSizeItems.at(size))->setChecked(true);
    const tessarin::ViewMode viewMode = tessarin::viewModeOf(size, menu.mnuRotate->isChecked());
    SetClientSize(*tessarin::imageSizeOf(viewMode));
    document->viewMode = viewMode;
    if (hasPicture) {
        RenderPicture();
    }
}

void TfrmMainForm::PaintPicture() {
    if (hasPicture) {
        clientArea->update();
    }
}

void TfrmMainForm::FormPaint(QPainter& canvas) {
    if (!hasPicture) {
        return;
    }
    // Read afresh each time: the file is the only rendered copy of the picture.
    const QImage picture(shownName(tempBitmapFileName));
    canvas.drawImage(clientArea->rect(), picture);
}

void TfrmMainForm::FormResize() {
    PaintPicture();
}

void TfrmMainForm::FormClose() {
    document.reset();
    tessarin::deleteFile(tempBitmapFileName);
    hasPicture = false;
}

void TfrmMainForm::WMDropFiles(QDropEvent* event) {
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
        OpenFileByName(name);
    }
}

void TfrmMainForm::ToggleRotation() {
    const std::int8_t viewMode = document->viewMode;
    if (viewMode >= tessarin::vm256x212 && viewMode <= tessarin::vm256x424joi) {
        menu.mnuRotate->setChecked(true);
        SetViewSize(static_cast<ViewSize>(viewMode));
    } else if (viewMode >= tessarin::vm256x212Rot && viewMode <= tessarin::vm256x424joiRot) {
        menu.mnuRotate->setChecked(false);
        SetViewSize(static_cast<ViewSize>(viewMode - tessarin::kViewSizeCount));
    }
}

void TfrmMainForm::mnuPage0OpenClic() {
    OpenWithDialog(kScreenFilter, tessarin::fsVram0);
}
void TfrmMainForm::mnuVRAM1OpenClick() {
    OpenWithDialog(kScreenFilter, tessarin::fsVram1);
}
void TfrmMainForm::mnuPaletteOpenClick() {
    OpenWithDialog(kPaletteFilter, tessarin::fsPalette);
}

void TfrmMainForm::mnuSaveAsClick() {
    selectFilter(ofnSaveDialog, kBitmapFilter);
    if (ofnSaveDialog->exec() != QDialog::Accepted || !hasPicture) {
        return;
    }
    const QStringList files = ofnSaveDialog->selectedFiles();
    if (!files.isEmpty()) {
        // A failed copy throws FileError naming the target: the user hears of it.
        tessarin::copyFile(tempBitmapFileName, localName(files.first()));
    }
}

void TfrmMainForm::mnuExitClick() {
    close();
}

void TfrmMainForm::mnu256x212Click() {
    SetViewSize(tessarin::vs256x212);
}
void TfrmMainForm::mnu512x424magClick() {
    SetViewSize(tessarin::vs512x424mag);
}
void TfrmMainForm::mnu512x424intClick() {
    SetViewSize(tessarin::vs512x424int);
}
void TfrmMainForm::mnu256x424joiClick() {
    SetViewSize(tessarin::vs256x424joi);
}

void TfrmMainForm::mnuRotateClick() {
    // Qt has flipped the mark already; ToggleRotation sets it from viewMode alone.
    menu.mnuRotate->setChecked(!menu.mnuRotate->isChecked());
    ToggleRotation();
}

void TfrmMainForm::mnuScreen5Click() {
    SelectScreenMode(5);
}
void TfrmMainForm::mnuScreen6Click() {
    SelectScreenMode(6);
}
void TfrmMainForm::mnuScreen7Click() {
    SelectScreenMode(7);
}
void TfrmMainForm::mnuScreen8Click() {
    SelectScreenMode(8);
}
void TfrmMainForm::mnuScreen10Click() {
    SelectScreenMode(10);
}
void TfrmMainForm::mnuScreen12Click() {
    SelectScreenMode(12);
}

void TfrmMainForm::mnuVRAMCopyClick() {
    auto& vram = document->vdp->vram;
    std::copy_n(vram.begin(), tessarin::kVramHalfSize, vram.begin() + tessarin::kVramHalfSize);
    RenderPicture();
}

void TfrmMainForm::mnuVRAMMapClick() {
    dlgDlgVRAMMap->document = document.get();
    const int result = dlgDlgVRAMMap->exec();
    // After Cancel this undoes what the dialog's palette buttons did to the VDP.
    document->vdp->selectPalette(
        static_cast<tessarin::PaletteSource>(document->mapping.paletteSource));
    if (result == QDialog::Accepted) {
        document->Reload();
        RenderPicture();
    }
}

void TfrmMainForm::mnuAboutClick() {
    dlgAboutBox->exec();
}

void TfrmMainForm::closeEvent(QCloseEvent* event) {
    if (document) {
        FormClose();
    }
    event->accept();
}

void TfrmMainForm::dragEnterEvent(QDragEnterEvent* event) {
    const QList<QUrl> urls = event->mimeData()->urls();
    if (std::any_of(urls.begin(), urls.end(), [](const QUrl& url) { return url.isLocalFile(); })) {
        event->acceptProposedAction();
    }
}

void TfrmMainForm::dropEvent(QDropEvent* event) {
    WMDropFiles(event);
}

void TfrmMainForm::OpenWithDialog(int filterIndex, int slot) {
    selectFilter(ofnOpenDialog, filterIndex);
    if (ofnOpenDialog->exec() != QDialog::Accepted) {
        return;
    }
    const QStringList files = ofnOpenDialog->selectedFiles();
    if (!files.isEmpty()) {
        OpenFileInto(localName(files.first()), slot);
    }
}

void TfrmMainForm::RenderPicture() {
    document->WriteBitmap(tempBitmapFileName);
    PaintPicture();
}

void TfrmMainForm::SetClientSize(ImageSize size) {
    // A maximised window would keep its size whatever it is asked.
    setWindowState(windowState() & ~(Qt::WindowMaximized | Qt::WindowFullScreen));
    const int menuHeight = menuBar()->isNativeMenuBar() ? 0 : menuBar()->heightForWidth(size.width);
    resize(size.width, size.height + menuHeight);
    // At an unchanged window size no resize event comes to lay out again: the central
    // widget may hold a size the user dragged. The layout places the menu bar first.
    layout()->invalidate();
    layout()->activate();
}
