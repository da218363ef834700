#include "finance/outcome.h"

namespace brevika {

Message NonFiniteMessage() {
  return {"The result is too large or undefined (overflow or division by zero).\n\n"
          "Nothing was changed. Please check the values and try again.",
          BoxType::Error};
}

std::string ShownText(std::string text) {
  for (std::size_t k = 0; k < text.size(); ++k)
    if (text[k] == '\r' && (k + 1 == text.size() || text[k + 1] != '\n')) text[k] = '\n';
  return text;
}

}  // namespace brevika
