#include "calculators/ui/rembal_window.h"

namespace brevika {

TcLoRemBl::TcLoRemBl(RemBalRecord* record, int slot, AppServices* services, QWidget* parent)
    : KindWindow(RemBalKind(), record, slot, services, parent) {
  setObjectName(QStringLiteral("TcLoRemBl"));
  Build();
}

}  // namespace brevika
