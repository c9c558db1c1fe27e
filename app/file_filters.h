#pragma once

#include <QString>
#include <QStringList>

namespace tessarin {

// Turns a filter list of "text|pattern|text|pattern" pairs into name filters of the
// file dialog, "text (patterns)". Each pattern matches whatever the case of its letters
// ("*.S??" becomes "*.[Ss]??"), and "*.*" means every file. An unpaired last text is
// dropped.
[[nodiscard]] QStringList nameFiltersOf(const QString& filterList);

} // namespace tessarin
