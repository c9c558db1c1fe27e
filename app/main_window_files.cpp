#include "app/main_window.h"

// The window's file commands: opening by name, dialog, drop and grid, browsing the
// folder, importing and saving.

#include "app/file_filters.h"
#include "app/local_name.h"
#include "dialogs/error_report.h"
#include "document/places_in.h"
#include "storage/location.h"

#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFileDialog>
#include <QFileInfo>
#include <QMessageBox>
#include <QMimeData>
#include <QUrl>
#include <algorithm>
#include <cstddef>

using tessarin::FileSlot;
using tessarin::localName;
using tessarin::shownName;

namespace {

// At most this many names are taken from one drop.
constexpr std::size_t kMaxFilesAtOnce = 2;

} // namespace

void MainWindow::openFileByName(const std::string& fileName) {
    if (tessarin::chooseByFileName(fileName).slot != FileSlot::palette && !mayLoseImport()) {
        return;
    }
    try {
        openedByChoice(document_->openByName(fileName));
    } catch (const tessarin::ReloadError&) {
        // The new file is in all the same: it is shown before the old one is reported.
        openedByChoice(tessarin::chooseByFileName(fileName).slot);
        throw;
    } catch (const tessarin::FileError& error) {
        // A folder of disks, archives or folders only: its grid of them, no picture.
        const tessarin::Location named = tessarin::Location::of(fileName);
        if (error.fault() != tessarin::Fault::noScreenFile || !named.isPlace() ||
            tessarin::placesIn(named).empty()) {
            throw;
        }
        thumbnails_.show(fileName, {});
        updateActions();
        return;
    }
    if (tessarin::Location::of(fileName).isPlace()) {
        thumbnails_.show(fileName, document_->fileName(FileSlot::vram0));
        updateActions();
    }
}

void MainWindow::openFromGrid(const std::string& screenFile) {
    if (tessarin::Location::of(screenFile).isPlace()) {
        openFileByName(screenFile); // a place: its first picture and its grid
        return;
    }
    if (!mayLoseImport()) {
        return;
    }
    document_->openListed(screenFile);
    thumbnails_.hide();
    openedByChoice(FileSlot::vram0);
}

void MainWindow::openFolder() {
    tessarin::reportErrors([this] {
        const QString folder =
            QFileDialog::getExistingDirectory(this, QStringLiteral("Open Folder"), startFolder());
        if (!folder.isEmpty()) {
            settings_.setLastFolder(folder);
            openFileByName(localName(folder));
        }
    });
}

void MainWindow::openFileInto(const std::string& fileName, FileSlot slot) {
    if (slot == FileSlot::vram0 && !mayLoseImport()) {
        return;
    }
    try {
        document_->openInto(fileName, slot);
    } catch (const tessarin::ReloadError&) {
        openedByChoice(slot); // a disk image's picture is in all the same, as openFileByName shows
        throw;
    }
    openedByChoice(slot);
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
    tessarin::reportErrors([this] { openWithDialog(tessarin::kScreenFilter, FileSlot::vram0); });
}

void MainWindow::openVram1File() {
    tessarin::reportErrors([this] { openWithDialog(tessarin::kScreenFilter, FileSlot::vram1); });
}

void MainWindow::openPaletteFile() {
    tessarin::reportErrors([this] { openWithDialog(tessarin::kPaletteFilter, FileSlot::palette); });
}

void MainWindow::importPicture() {
    tessarin::reportErrors([this] {
        // Asked first: the new screen file may take the unsaved one's name.
        if (!mayLoseImport()) {
            return;
        }
        if (auto made = importPicture_.run(this, startFolder())) {
            // Unsaved: not a recent file, since the temporary folder goes with the window.
            imported_ = std::move(*made);
            importSaved_ = false;
            if (imported_->largeSprites) {
                document_->setLargeSprites(true);
            }
            opened(document_->openByName(imported_->screenFile));
        }
    });
}

void MainWindow::saveAs() {
    tessarin::reportErrors([this] {
        if (!hasPicture()) {
            return;
        }
        const bool import = showsImport();
        const tessarin::SaveAs::Start start =
            import ? tessarin::SaveAs::Start{imported_->format, imported_->screenFile,
                                             imported_->companion}
                   : tessarin::SaveAs::Start{};
        if (saveAs_.run(*document_, view_.pixelAspect(), startFolder(), start) && import) {
            importSaved_ = true;
        }
    });
}

void MainWindow::openNextFile() {
    tessarin::reportErrors([this] { browse(1); });
}

void MainWindow::openPreviousFile() {
    tessarin::reportErrors([this] { browse(-1); });
}

void MainWindow::openFirstFile() {
    tessarin::reportErrors([this] { browse(-tessarin::ScreenDocument::kFolderEnd); });
}

void MainWindow::openLastFile() {
    tessarin::reportErrors([this] { browse(tessarin::ScreenDocument::kFolderEnd); });
}

void MainWindow::browse(int step) {
    const auto place = document_->browsePosition();
    const bool moves = place && (step > 0 ? place->first < place->second : place->first > 1);
    if (moves && !mayLoseImport()) {
        return;
    }
    const auto result = document_->openNeighbour(step);
    if (result.opened) {
        opened(FileSlot::vram0);
    }
    if (!result.skipped.empty()) {
        status_.showSkipped(result.skipped, !result.opened, step > 0);
    } else if (!result.opened && document_->hasPicture()) {
        status_.showEndOfFolder(step > 0);
    }
}

bool MainWindow::showsImport() const {
    return imported_ && document_ && document_->fileName(FileSlot::vram0) == imported_->screenFile;
}

bool MainWindow::mayLoseImport() {
    return !showsImport() || importSaved_ ||
           QMessageBox::question(
               this, QStringLiteral("Import Picture"),
               QStringLiteral("The imported picture %1 is not saved.\nClose without saving it?")
                   .arg(QFileInfo(shownName(imported_->screenFile)).fileName()),
               QMessageBox::Yes | QMessageBox::No, QMessageBox::No) == QMessageBox::Yes;
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
    tessarin::selectFilter(openDialog, filterIndex);
    openDialog->setDirectory(startFolder());
    if (openDialog->exec() != QDialog::Accepted) {
        return;
    }
    const QStringList files = openDialog->selectedFiles();
    if (!files.isEmpty()) {
        settings_.setLastFolder(QFileInfo(files.first()).absolutePath());
        openFileInto(localName(files.first()), slot);
    }
}

QFileDialog* MainWindow::openFileDialog() {
    // Made at first use: the dialogs cost start-up time, most runs open nothing by them.
    if (openDialog_ == nullptr) {
        openDialog_ = tessarin::makeFileDialog(this, "openDialog", tessarin::openFilters());
        openDialog_->setAcceptMode(QFileDialog::AcceptOpen);
        openDialog_->setFileMode(QFileDialog::ExistingFile);
    }
    return openDialog_;
}

QString MainWindow::startFolder() const {
    if (showsImport()) {
        return imported_->sourceFolder; // the temporary folder is no place to look in
    }
    if (const std::string& screenFile = document_->fileName(FileSlot::vram0); !screenFile.empty()) {
        return QFileInfo(shownName(tessarin::Location::of(screenFile).hostFolder()))
            .absoluteFilePath();
    }
    return settings_.lastFolder();
}
