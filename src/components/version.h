// The version and licence both programs print for --version.
#pragma once
#include <string>

namespace brevika {

inline constexpr char kBrevikaVersion[] = "2.0";

// "brevika-calc 2.0", then the copyright and licence lines.
inline std::string VersionText(const std::string& program) {
  return program + " " + kBrevikaVersion +
         "\n"
         "Copyright (C) 2026 Brevika Software\n"
         "License GPLv3+: GNU GPL version 3 or later <https://gnu.org/licenses/gpl.html>.\n"
         "This is free software: you are free to change and redistribute it.\n"
         "There is NO WARRANTY, to the extent permitted by law.\n";
}

}  // namespace brevika
