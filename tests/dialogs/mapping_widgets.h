#pragma once

// The mapping dialog's widgets as a user (and a test) finds them: by their names.

#include "dialogs/vram_mapping_dialog.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QFrame>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QTabWidget>
#include <array>
#include <gtest/gtest.h>

namespace tessarin::test {

template <typename Widget> Widget* childNamed(const QObject& dialog, const QString& name) {
    auto* child = dialog.findChild<Widget*>(name);
    EXPECT_NE(child, nullptr) << name.toStdString();
    return child;
}

struct MappingWidgets {
    explicit MappingWidgets(const QObject& d)
        : okButton(childNamed<QPushButton>(d, QStringLiteral("okButton"))),
          cancelButton(childNamed<QPushButton>(d, QStringLiteral("cancelButton"))),
          tabs(childNamed<QTabWidget>(d, QStringLiteral("tabs"))),
          vramLoadingTab(childNamed<QWidget>(d, QStringLiteral("vramLoadingTab"))),
          paletteTab(childNamed<QWidget>(d, QStringLiteral("paletteTab"))),
          slotGroup(childNamed<QGroupBox>(d, QStringLiteral("slotGroup"))),
          slotButtons(childNamed<QButtonGroup>(d, QStringLiteral("slotButtons"))),
          fileNameLabel(childNamed<QLabel>(d, QStringLiteral("fileNameLabel"))),
          fileNameField(childNamed<QLineEdit>(d, QStringLiteral("fileNameField"))),
          headerSizeLabel(childNamed<QLabel>(d, QStringLiteral("headerSizeLabel"))),
          headerSizeBox(childNamed<QSpinBox>(d, QStringLiteral("headerSizeBox"))),
          headerSizeField(childNamed<QLineEdit>(d, QStringLiteral("headerSizeField"))),
          linePixelsLabel(childNamed<QLabel>(d, QStringLiteral("linePixelsLabel"))),
          linePixelsBox(childNamed<QSpinBox>(d, QStringLiteral("linePixelsBox"))),
          linePixelsField(childNamed<QLineEdit>(d, QStringLiteral("linePixelsField"))),
          headerDump(childNamed<QPlainTextEdit>(d, QStringLiteral("headerDump"))),
          layoutFound(childNamed<QLabel>(d, QStringLiteral("layoutFound"))),
          fixedLayoutBox(childNamed<QCheckBox>(d, QStringLiteral("fixedLayoutBox"))),
          narrowLinesButton(childNamed<QPushButton>(d, QStringLiteral("narrowLinesButton"))),
          wideLinesButton(childNamed<QPushButton>(d, QStringLiteral("wideLinesButton"))),
          paletteFileLabel(childNamed<QLabel>(d, QStringLiteral("paletteFileLabel"))),
          paletteFileField(childNamed<QLineEdit>(d, QStringLiteral("paletteFileField"))),
          filePaletteButton(childNamed<QPushButton>(d, QStringLiteral("filePaletteButton"))),
          vramPaletteButton(childNamed<QPushButton>(d, QStringLiteral("vramPaletteButton"))),
          standardPaletteButton(
              childNamed<QPushButton>(d, QStringLiteral("standardPaletteButton"))),
          automaticPaletteButton(
              childNamed<QPushButton>(d, QStringLiteral("automaticPaletteButton"))),
          sourceInEffect(childNamed<QLabel>(d, QStringLiteral("sourceInEffect"))) {
        for (std::size_t i = 0; i < colourPanels.size(); ++i) {
            colourLabels[i] = childNamed<QLabel>(d, QStringLiteral("colourLabels%1").arg(i));
            colourPanels[i] = childNamed<QFrame>(d, QStringLiteral("colourPanels%1").arg(i));
        }
    }

    QPushButton* okButton;
    QPushButton* cancelButton;
    QTabWidget* tabs;
    QWidget* vramLoadingTab;
    QWidget* paletteTab;
    QGroupBox* slotGroup;
    QButtonGroup* slotButtons;
    QLabel* fileNameLabel;
    QLineEdit* fileNameField;
    QLabel* headerSizeLabel;
    QSpinBox* headerSizeBox;
    QLineEdit* headerSizeField;
    QLabel* linePixelsLabel;
    QSpinBox* linePixelsBox;
    QLineEdit* linePixelsField;
    QPlainTextEdit* headerDump;
    QLabel* layoutFound;
    QCheckBox* fixedLayoutBox;
    QPushButton* narrowLinesButton;
    QPushButton* wideLinesButton;
    QLabel* paletteFileLabel;
    QLineEdit* paletteFileField;
    QPushButton* filePaletteButton;
    QPushButton* vramPaletteButton;
    QPushButton* standardPaletteButton;
    QPushButton* automaticPaletteButton;
    QLabel* sourceInEffect;
    std::array<QLabel*, kPaletteColours> colourLabels{};
    std::array<QFrame*, kPaletteColours> colourPanels{};
};

} // namespace tessarin::test
