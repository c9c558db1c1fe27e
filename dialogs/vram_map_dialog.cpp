#include "dialogs/vram_map_dialog.h"

#include "dialogs/hex_dump.h"
#include "dialogs/win32_color.h"
#include "platform/file_stream.h"

#include <QButtonGroup>
#include <QFontDatabase>
#include <QFrame>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QScrollBar>
#include <QShowEvent>
#include <QSpinBox>
#include <QStringList>
#include <QTabWidget>
#include <QVBoxLayout>
#include <algorithm>
#include <array>
#include <span>

using namespace tessarin;

namespace {

constexpr int kHeaderSizeMax = 32767;
constexpr int kLinePixelsMin = 1;
constexpr int kLinePixelsMax = kWideWidth;
constexpr int kPaletteRows = 4; // colours 0-3 down the first column, 4-7 the second...
constexpr QSize kPanelSize{40, 20};
constexpr int kDumpColumns = 4 + 3 * kHexDumpBytesPerLine; // "0000" and " 00" per byte
constexpr int kDumpVisibleLines = 10;

// An up-down bound to a read-only text field: the value moves only by the arrows (and
// the keyboard arrows), one step at a time, and stops at the ends of the range.
QSpinBox* makeUpDown(QWidget* parent, const char* name, int minimum, int maximum, QLineEdit*& field,
                     const char* fieldName) {
    auto* upDown = new QSpinBox(parent);
    upDown->setObjectName(QLatin1String(name));
    upDown->setRange(minimum, maximum);
    upDown->setSingleStep(1);
    upDown->setWrapping(false);
    upDown->setAccelerated(false);
    // The spin box itself stays writable, or its arrows would stop stepping.
    field = upDown->findChild<QLineEdit*>();
    field->setObjectName(QLatin1String(fieldName));
    field->setReadOnly(true);
    return upDown;
}

QLabel* makeLabel(QWidget* parent, const char* name, const QString& caption, QWidget* buddy) {
    auto* label = new QLabel(caption, parent);
    label->setObjectName(QLatin1String(name));
    label->setBuddy(buddy);
    return label;
}

QPushButton* makeButton(QWidget* parent, const char* name, const QString& caption) {
    auto* button = new QPushButton(caption, parent);
    button->setObjectName(QLatin1String(name));
    return button;
}

QLineEdit* makeReadOnlyField(QWidget* parent, const char* name) {
    auto* field = new QLineEdit(parent);
    field->setObjectName(QLatin1String(name));
    field->setReadOnly(true);
    return field;
}

// Shows the widget again however the scope is left, so that a file error escaping
// the dump does not leave it hidden.
class ShowOnExit {
public:
    explicit ShowOnExit(QWidget* widget) : widget_(widget) {}
    ~ShowOnExit() { widget_->show(); }
    ShowOnExit(const ShowOnExit&) = delete;
    ShowOnExit& operator=(const ShowOnExit&) = delete;

private:
    QWidget* widget_;
};

} // namespace

TdlgDlgVRAMMap::TdlgDlgVRAMMap(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("dlgDlgVRAMMap"));
    setWindowTitle(QStringLiteral("VRAM Mapping"));

    VMPageControl = new QTabWidget(this);
    VMPageControl->setObjectName(QStringLiteral("VMPageControl"));
    tabsVRAMLoad = buildVramLoadTab();
    tabsPalette = buildPaletteTab();
    VMPageControl->addTab(tabsVRAMLoad, QStringLiteral("VRAM Loading"));
    VMPageControl->addTab(tabsPalette, QStringLiteral("Palette"));
    VMPageControl->setCurrentWidget(tabsVRAMLoad);

    btnOK = makeButton(this, "btnOK", QStringLiteral("&OK"));
    btnOK->setDefault(true);
    btnCancel = makeButton(this, "btnCancel", QStringLiteral("&Cancel"));
    connect(btnOK, &QPushButton::clicked, this, &TdlgDlgVRAMMap::btnOKClick);
    connect(btnCancel, &QPushButton::clicked, this, &QDialog::reject);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(btnOK);
    buttons->addWidget(btnCancel);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(VMPageControl);
    layout->addLayout(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);
}

QWidget* TdlgDlgVRAMMap::buildVramLoadTab() {
    auto* tab = new QWidget;
    tab->setObjectName(QStringLiteral("tabsVRAMLoad"));

    radgrpVRAMPage = new QGroupBox(QStringLiteral("VRAM &Adress"), tab);
    radgrpVRAMPage->setObjectName(QStringLiteral("radgrpVRAMPage"));
    radgrpVRAMPageItems = new QButtonGroup(radgrpVRAMPage);
    auto* items = new QHBoxLayout(radgrpVRAMPage);
    const std::array<QString, 2> captions{QStringLiteral("VRAM0 (&&H00000...&&H0FFFF)"),
                                          QStringLiteral("VRAM1 (&&H10000...&&H1FFFF)")};
    for (int slot = fsVram0; slot <= fsVram1; ++slot) {
        auto* item = new QRadioButton(captions[static_cast<std::size_t>(slot)], radgrpVRAMPage);
        radgrpVRAMPageItems->addButton(item, slot);
        items->addWidget(item);
    }
    radgrpVRAMPageItems->button(fsVram0)->setChecked(true);
    connect(radgrpVRAMPageItems, &QButtonGroup::idToggled, this, [this](int, bool checked) {
        // The item being unchecked reports too; act once, on the newly selected one.
        if (checked) {
            radgrpVRAMPageClick();
        }
    });

    edtVRAMFileName = makeReadOnlyField(tab, "edtVRAMFileName");
    lblVRAMFileName = makeLabel(tab, "lblVRAMFileName", QStringLiteral("File Name"), nullptr);

    updHeaderSize =
        makeUpDown(tab, "updHeaderSize", 0, kHeaderSizeMax, edtHeaderSize, "edtHeaderSize");
    lblHeaderSize = makeLabel(tab, "lblHeaderSize", QStringLiteral("&Header Size"), updHeaderSize);
    upd1LinePixels = makeUpDown(tab, "upd1LinePixels", kLinePixelsMin, kLinePixelsMax,
                                edt1LinePixels, "edt1LinePixels");
    lbl1LinePixels =
        makeLabel(tab, "lbl1LinePixels", QStringLiteral("&1 Line Pixels"), upd1LinePixels);

    btnScreen5 = makeButton(tab, "btnScreen5", QStringLiteral("Screen&5,8,10,12"));
    btnScreen7 = makeButton(tab, "btnScreen7", QStringLiteral("Screen&6,7"));
    connect(btnScreen5, &QPushButton::clicked, this, &TdlgDlgVRAMMap::btnScreen5Click);
    connect(btnScreen7, &QPushButton::clicked, this, &TdlgDlgVRAMMap::btnScreen7Click);

    memHeaderBytes = new QPlainTextEdit(tab);
    memHeaderBytes->setObjectName(QStringLiteral("memHeaderBytes"));
    memHeaderBytes->setReadOnly(true);
    memHeaderBytes->setLineWrapMode(QPlainTextEdit::NoWrap);
    memHeaderBytes->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    const QFontMetrics metrics(memHeaderBytes->font());
    memHeaderBytes->setFixedSize(
        metrics.horizontalAdvance(QString(kDumpColumns + 2, QLatin1Char('0'))) +
            memHeaderBytes->verticalScrollBar()->sizeHint().width(),
        metrics.lineSpacing() * kDumpVisibleLines + 2 * memHeaderBytes->frameWidth());

    auto* settings = new QGridLayout;
    settings->addWidget(lblHeaderSize, 0, 0);
    settings->addWidget(updHeaderSize, 0, 1);
    settings->addWidget(lbl1LinePixels, 1, 0);
    settings->addWidget(upd1LinePixels, 1, 1);
    auto* screenButtons = new QHBoxLayout;
    screenButtons->addWidget(btnScreen5);
    screenButtons->addWidget(btnScreen7);
    settings->addLayout(screenButtons, 2, 0, 1, 2);
    settings->setRowStretch(3, 1);

    auto* fileName = new QHBoxLayout;
    fileName->addWidget(lblVRAMFileName);
    fileName->addWidget(edtVRAMFileName, 1);

    auto* lower = new QHBoxLayout;
    lower->addLayout(settings);
    lower->addWidget(memHeaderBytes);

    auto* layout = new QVBoxLayout(tab);
    layout->addWidget(radgrpVRAMPage);
    layout->addLayout(fileName);
    layout->addLayout(lower);
    return tab;
}

QWidget* TdlgDlgVRAMMap::buildPaletteTab() {
    auto* tab = new QWidget;
    tab->setObjectName(QStringLiteral("tabsPalette"));

    edtPaletteFileName = makeReadOnlyField(tab, "edtPaletteFileName");
    lblPaletteFileName =
        makeLabel(tab, "lblPaletteFileName", QStringLiteral("Palette File Name"), nullptr);
    auto* fileName = new QHBoxLayout;
    fileName->addWidget(lblPaletteFileName);
    fileName->addWidget(edtPaletteFileName, 1);

    btnPalFile = makeButton(tab, "btnPalFile", QStringLiteral("&File"));
    btnPalFile->setEnabled(false);
    btnPalVRAM = makeButton(tab, "btnPalVRAM", QStringLiteral("&VRAM"));
    btnPalStandard = makeButton(tab, "btnPalStandard", QStringLiteral("&Standard"));
    connect(btnPalFile, &QPushButton::clicked, this, &TdlgDlgVRAMMap::btnPalFileClick);
    connect(btnPalVRAM, &QPushButton::clicked, this, &TdlgDlgVRAMMap::btnPalVRAMClick);
    connect(btnPalStandard, &QPushButton::clicked, this, &TdlgDlgVRAMMap::btnPalStandardClick);
    auto* sources = new QHBoxLayout;
    sources->addWidget(btnPalFile);
    sources->addWidget(btnPalVRAM);
    sources->addWidget(btnPalStandard);
    sources->addStretch();

    auto* colours = new QGridLayout;
    for (int i = 0; i < kPaletteColours; ++i) {
        const auto index = static_cast<std::size_t>(i);
        auto* panel = new QFrame(tab);
        panel->setObjectName(QStringLiteral("pnlPal%1").arg(i));
        panel->setFrameShape(QFrame::Panel);
        panel->setFrameShadow(QFrame::Sunken);
        panel->setFixedSize(kPanelSize);
        panel->setAutoFillBackground(true);
        pnlPal[index] = panel;
        auto* label = new QLabel(QStringLiteral("Color %1").arg(i), tab);
        label->setObjectName(QStringLiteral("lblPal%1").arg(i));
        lblPal[index] = label;
        const int row = i % kPaletteRows;
        const int column = i / kPaletteRows * 2;
        colours->addWidget(label, row, column);
        colours->addWidget(panel, row, column + 1);
    }

    auto* layout = new QVBoxLayout(tab);
    layout->addLayout(fileName);
    layout->addLayout(sources);
    layout->addLayout(colours);
    layout->addStretch();
    return tab;
}

void TdlgDlgVRAMMap::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    if (event->spontaneous()) {
        return; // the window came back from being minimised: not a new showing
    }
    if (const QScreen* where = screen()) {
        QRect frame = frameGeometry();
        frame.moveCenter(where->availableGeometry().center());
        move(frame.topLeft());
    }
    FormShow();
}

void TdlgDlgVRAMMap::FormShow() {
    mapping = document->mapping;
    // The palette steps come before the dump, which alone can fail (the file may
    // have gone since it was loaded), so that they are up to date even then.
    ShowPaletteColors();
    const std::string& paletteFile = document->paletteFileName;
    btnPalFile->setEnabled(!paletteFile.empty());
    edtPaletteFileName->setText(QString::fromStdString(paletteFile));
    ShowSlotSettings(currentSlot);
}

void TdlgDlgVRAMMap::radgrpVRAMPageClick() {
    StoreSlotSettings(currentSlot);
    currentSlot = radgrpVRAMPageItems->checkedId();
    ShowSlotSettings(currentSlot);
}

void TdlgDlgVRAMMap::StoreSlotSettings(int slot) {
    if (slot != fsVram0 && slot != fsVram1) {
        return;
    }
    const auto index = static_cast<std::size_t>(slot);
    mapping.headerSize[index] = static_cast<std::int16_t>(updHeaderSize->value());
    mapping.linePixels[index] = static_cast<std::int16_t>(upd1LinePixels->value());
}

void TdlgDlgVRAMMap::ShowSlotSettings(int slot) {
    if (slot != fsVram0 && slot != fsVram1) {
        return;
    }
    const auto index = static_cast<std::size_t>(slot);
    const std::string& fileName =
        slot == fsVram0 ? document->vram0FileName : document->vram1FileName;
    memHeaderBytes->clear();
    edtVRAMFileName->setText(QString::fromStdString(fileName));
    // The up-downs are set before the dump so that, should the file fail to open, they
    // already show the slot that currentSlot names and OK cannot store one slot's
    // values into the other.
    updHeaderSize->setValue(mapping.headerSize[index]);
    upd1LinePixels->setValue(mapping.linePixels[index]);
    // Only the VRAM0 data is re-laid by its pixels per line.
    const bool linePixelsApply = slot == fsVram0;
    upd1LinePixels->setEnabled(linePixelsApply);
    btnScreen5->setEnabled(linePixelsApply);
    btnScreen7->setEnabled(linePixelsApply);
    if (!fileName.empty()) {
        fillHeaderDump(fileName);
    }
}

void TdlgDlgVRAMMap::fillHeaderDump(const std::string& fileName) {
    memHeaderBytes->hide();
    const ShowOnExit showAgain(memHeaderBytes);
    InputFile file(fileName);
    std::array<std::uint8_t, kHexDumpMaxBytes> head{};
    const auto wanted = static_cast<std::size_t>(std::min<std::uint64_t>(file.size(), head.size()));
    const std::size_t got = file.read(std::span(head).first(wanted));
    QStringList lines;
    for (const std::string& line : hexDumpLines(std::span(head).first(got))) {
        lines.append(QString::fromStdString(line));
    }
    memHeaderBytes->setPlainText(lines.join(QLatin1Char('\n')));
}

void TdlgDlgVRAMMap::ShowPaletteColors() {
    const TVdpState& vdp = *document->vdp;
    for (std::size_t i = 0; i < pnlPal.size(); ++i) {
        QPalette colours = pnlPal[i]->palette();
        colours.setColor(QPalette::Window,
                         colorFromWin32(TScreenDocument::RgbToColor(vdp.paletteRgb[i])));
        pnlPal[i]->setPalette(colours);
    }
}

void TdlgDlgVRAMMap::btnScreen5Click() {
    upd1LinePixels->setValue(kNarrowWidth);
}

void TdlgDlgVRAMMap::btnScreen7Click() {
    upd1LinePixels->setValue(kWideWidth);
}

void TdlgDlgVRAMMap::btnPalFileClick() {
    mapping.paletteSource = psFile;
    document->vdp->selectPalette(psFile);
    ShowPaletteColors();
}

void TdlgDlgVRAMMap::btnPalVRAMClick() {
    mapping.paletteSource = psVram;
    document->vdp->readVramPalette();
    document->vdp->selectPalette(psVram);
    ShowPaletteColors();
}

void TdlgDlgVRAMMap::btnPalStandardClick() {
    mapping.paletteSource = psStandard;
    document->vdp->selectPalette(psStandard);
    ShowPaletteColors();
}

void TdlgDlgVRAMMap::btnOKClick() {
    StoreSlotSettings(currentSlot);
    document->mapping = mapping;
    accept();
}
