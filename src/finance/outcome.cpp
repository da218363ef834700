#include "finance/outcome.h"

namespace brevika {

Message NonFiniteMessage() {
  return {"The result is too large or undefined (overflow or division by zero).\n\n"
          "Nothing was changed. Please check the values and try again.",
          BoxType::Error};
}

}  // namespace brevika
