#pragma once

#include <QFile>
#include <QString>
#include <string>

// File names travel as the bytes the system uses for them; Qt shows them as text.
namespace tessarin {

// The system's bytes of a name Qt gives.
[[nodiscard]] inline std::string localName(const QString& fileName) {
    return QFile::encodeName(fileName).toStdString();
}

// The name as Qt shows it.
[[nodiscard]] inline QString shownName(const std::string& fileName) {
    return QFile::decodeName(fileName.c_str());
}

} // namespace tessarin
