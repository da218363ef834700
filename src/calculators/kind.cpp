#include "calculators/kind.h"

namespace brevika {

std::string SlotCaption(const KindInfo& kind, int slot) {
  return std::string(kind.title) + " " + std::to_string(slot);
}

}  // namespace brevika
