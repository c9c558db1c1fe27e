#include "app/file_filters.h"

#include "names/file_name_rule.h"
#include "storage/location.h"

#include <QAbstractItemView>
#include <QCompleter>
#include <QFileDialog>
#include <QLineEdit>
#include <string_view>

namespace tessarin {

namespace {

// The whole-name pattern of the filter lists: every file, with or without a dot.
const QString kAllFilesPattern = QStringLiteral("*.*");

// "*.Pl?" -> "*.[Pp][Ll]?": the file dialog matches patterns with the case of the file
// system, so each letter is given as a class of both cases.
QString caseFreePattern(const QString& pattern) {
    if (pattern == kAllFilesPattern) {
        return QStringLiteral("*");
    }
    QString result;
    for (const QChar c : pattern) {
        if (c.isLetter() && c.toLower() != c.toUpper()) {
            result += u'[' + QString(c.toUpper()) + QString(c.toLower()) + u']';
        } else {
            result += c;
        }
    }
    return result;
}

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

} // namespace

// Raw literals: "??)" would read as a trigraph.
QString openFilters() {
    const auto screen = [](const ScreenExtension& e) { return e.extension; };
    const auto palette = [](std::string_view e) { return e; };
    QString holders;
    for (const std::string_view extension : fileKindExtensions()) {
        holders += QStringLiteral(";*") + QString::fromLatin1(extension);
    }
    return QStringLiteral(R"f(MSX Graphic file(*.s??)|*.S??)f") +
           patternsBeyond("S", kScreenExtensions, screen) + holders +
           QStringLiteral(R"f(|MSX Palette file(*.pl?)|*.PL?)f") +
           patternsBeyond("PL", kPaletteExtensions, palette) +
           QStringLiteral(R"f(|All files (*.*)|*.*)f");
}

QString saveFilters() {
    return QStringLiteral(
        R"f(Bit Map file(*.bmp)|*.BMP|PNG image (*.png)|*.png|)f"
        R"f(MSX screen 2 (*.sc2)|*.SC2|MSX screen 3 (*.sc3)|*.SC3|MSX screen 4 (*.sc4)|*.SC4|)f"
        R"f(MSX screen 5 (*.sc5)|*.SC5|MSX screen 6 (*.sc6)|*.SC6|MSX screen 7 (*.sc7)|*.SC7|)f"
        R"f(MSX screen 8 (*.sc8)|*.SC8|MSX screen 10 (*.sca)|*.SCA|MSX screen 11 (*.scb)|*.SCB|)f"
        R"f(MSX screen 12 (*.sc12)|*.SC12|All files (*.*)|*.*)f");
}

QFileDialog* makeFileDialog(QWidget* parent, const char* name, const QString& filterList) {
    auto* dialog = new QFileDialog(parent);
    dialog->setObjectName(QLatin1String(name));
    dialog->setOption(QFileDialog::DontUseNativeDialog);
    // The lists show their texts as written; the patterns behind them are case-free.
    dialog->setOption(QFileDialog::HideNameFilterDetails);
    dialog->setNameFilters(nameFiltersOf(filterList));
    // A completion popup open as the dialog closes (a name typed in part, then Open)
    // is a window of its own, which would stay over the main window.
    QObject::connect(dialog, &QDialog::finished, dialog, [dialog] {
        for (const QLineEdit* edit : dialog->findChildren<QLineEdit*>()) {
            if (const QCompleter* completer = edit->completer()) {
                completer->popup()->hide();
            }
        }
    });
    return dialog;
}

void selectFilter(QFileDialog* dialog, int filterIndex) {
    dialog->selectNameFilter(dialog->nameFilters().value(filterIndex - 1));
}

// Hiding the details, the dialog reports a filter as it shows it: without the patterns
// that nameFiltersOf adds in parentheses to every filter.
bool isFilter(const QFileDialog* dialog, const QString& filter, int filterIndex) {
    return dialog->nameFilters().value(filterIndex - 1).startsWith(filter + QStringLiteral(" ("));
}

QStringList nameFiltersOf(const QString& filterList) {
    const QStringList parts = filterList.split(u'|');
    QStringList filters;
    for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
        QStringList patterns;
        for (const QString& pattern : parts[i + 1].split(u';', Qt::SkipEmptyParts)) {
            patterns += caseFreePattern(pattern.trimmed());
        }
        filters += parts[i] + QStringLiteral(" (") + patterns.join(u' ') + u')';
    }
    return filters;
}

} // namespace tessarin
