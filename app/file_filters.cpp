#include "app/file_filters.h"

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

} // namespace

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
