// The about box: the product page and a page about this computer.
#pragma once
#include <QDialog>

#include "app/system_info.h"

class QLabel;

namespace brevika {

inline constexpr char kPublisherNotice[] =
    "Brevika Software \u2022 Loan calculators for the desktop \u2022 Freely shareable";

class TAboutBox : public QDialog {
  Q_OBJECT
 public:
  explicit TAboutBox(const SystemInfo& info, QWidget* parent = nullptr);
};

}  // namespace brevika
