#pragma once

// Test support for the viewer's window: one application on the offscreen platform whose
// errors are recorded, the window wired to its two dialogs as at start-up, commands run
// as queued events so that their errors pass the application's notify(), and modal
// dialogs answered from inside their own event loop.

#include "app/main_window.h"
#include "app/picture_view.h"
#include "app/tessarin_application.h"
#include "tests/platform/scratch_dir.h"

#include <QAction>
#include <QFileDialog>
#include <QWidget>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace tessarin::test {

[[nodiscard]] TessarinApplication& viewerApplication();

[[nodiscard]] std::string sample(const std::string& name);

// Copies a bundled sample into dir under another name and returns its full name.
std::string copySample(const ScratchDir& dir, const std::string& sampleName,
                       const std::string& name);

// Triggers the menu item as a click does (queued, through notify()) and returns the
// error message that the command raised, empty when it raised none.
std::string runCommand(QAction* item);

// Calls answer with the next modal dialog, once it is shown; several may wait in turn.
// Gives up after about ten seconds, so that a dialog that never opens cannot hang a test.
void whenModal(std::function<void(QWidget& dialog)> answer);

// Types name into the dialog's name field, as a user does, with nothing picked in its list.
void typeFileName(QFileDialog& dialog, const std::string& name);

// Answers the next file dialog with name typed into its name field and confirmed (an
// empty name cancels); beforeAccept runs just before the confirmation.
void whenFileDialogAnswer(const std::string& name, QString* shownFilter = nullptr,
                          std::function<void()> beforeAccept = {});

// While it lives, answers every message box shown (a question) with Yes, and counts them.
class AgreeToQuestions : public QObject {
public:
    AgreeToQuestions();
    ~AgreeToQuestions() override;
    [[nodiscard]] int asked() const { return asked_; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    int asked_ = 0;
};

// Pixel size of a BMP file's bytes from its header (biWidth, biHeight); 0 x 0 when too short.
[[nodiscard]] QSize bitmapSize(const std::vector<std::uint8_t>& bytes);

// What the viewer should show: the document's own render of the files given (slot and
// name), in the mode with its line widths and palette source, at the view mode.
[[nodiscard]] std::vector<std::uint8_t>
referencePicture(ScreenMode screenMode, std::int16_t linePixels,
                 const std::vector<std::pair<FileSlot, std::string>>& files,
                 ViewMode viewMode = ViewMode::plain256x212);

// The BMP bytes of the picture doc renders for its view.
[[nodiscard]] std::vector<std::uint8_t> renderedPicture(ScreenDocument& doc);

// A main window made from the command line given, with TMPDIR a private directory (where an
// import writes its screen file).
class ViewerWindow {
public:
    explicit ViewerWindow(const std::vector<std::string>& arguments = {});
    ~ViewerWindow();
    ViewerWindow(const ViewerWindow&) = delete;
    ViewerWindow& operator=(const ViewerWindow&) = delete;

    MainWindow& operator*() const { return *form; }
    MainWindow* operator->() const { return form.get(); }
    // The BMP bytes of the picture the window's view holds; none without a picture.
    [[nodiscard]] std::vector<std::uint8_t> picture() const;

    ScratchDir tmp;
    std::unique_ptr<MainWindow> form;
};

} // namespace tessarin::test
