// Texts between the core (std::string, UTF-8) and Qt.
#pragma once
#include <QString>
#include <string>

namespace brevika {

inline QString Q(const std::string& s) { return QString::fromStdString(s); }

}  // namespace brevika
