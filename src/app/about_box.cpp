#include "app/about_box.h"

#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLabel>
#include <QTabWidget>
#include <QVBoxLayout>

namespace brevika {

namespace {

QLabel* Line(const QString& text, QWidget* parent, const QString& name = {}) {
  auto* label = new QLabel(text, parent);
  label->setAlignment(Qt::AlignCenter);
  label->setWordWrap(true);
  if (!name.isEmpty()) label->setObjectName(name);
  return label;
}

QLabel* Value(const QString& text, QWidget* parent, const QString& name) {
  auto* label = new QLabel(text, parent);
  label->setObjectName(name);
  label->setTextInteractionFlags(Qt::TextSelectableByMouse);
  label->setWordWrap(true);
  return label;
}

}  // namespace

TAboutBox::TAboutBox(const SystemInfo& info, QWidget* parent) : QDialog(parent) {
  setObjectName(QStringLiteral("AboutBoxDlg1"));
  setWindowTitle(QStringLiteral("About Brevika"));
  setMinimumWidth(430);

  auto* tabs = new QTabWidget(this);

  auto* product = new QWidget(tabs);
  auto* pl = new QVBoxLayout(product);
  pl->setSpacing(8);
  QLabel* name = Line(QStringLiteral("Brevika"), product, QStringLiteral("ProductName"));
  QFont big = name->font();
  big.setPointSize(22);
  big.setBold(true);
  big.setItalic(true);
  name->setFont(big);
  pl->addWidget(name);
  pl->addWidget(Line(QStringLiteral("Version 2.0"), product, QStringLiteral("Version")));
  pl->addWidget(Line(QStringLiteral("Released 12/29/96"), product));
  pl->addSpacing(6);
  pl->addWidget(Line(QStringLiteral("Loan, interest, balance, accelerated payment, balloon "
                                    "payment and refinance calculators with full "
                                    "amortization schedules."),
                     product));
  pl->addSpacing(6);
  pl->addWidget(Line(QString::fromUtf8(kPublisherNotice), product, QStringLiteral("Notice")));
  pl->addWidget(Line(QStringLiteral("Free software under the GNU General Public License, "
                                    "version 3 or later, with no warranty."),
                     product, QStringLiteral("License")));
  pl->addWidget(Line(QStringLiteral("Please tell a friend about this software."), product));
  pl->addStretch(1);
  tabs->addTab(product, QStringLiteral("&Product"));

  auto* system = new QWidget(tabs);
  auto* form = new QFormLayout(system);
  form->setLabelAlignment(Qt::AlignRight);
  form->addRow(QStringLiteral("Processor:"), Value(info.processor, system, QStringLiteral("Processor")));
  form->addRow(QStringLiteral("Memory:"), Value(info.memory, system, QStringLiteral("Memory")));
  form->addRow(QStringLiteral("Available:"), Value(info.freeMemory, system, QStringLiteral("FreeMemory")));
  form->addRow(QStringLiteral("Operating system:"), Value(info.system, system, QStringLiteral("OperatingSystem")));
  form->addRow(QStringLiteral("Registered owner:"), Value(info.owner, system, QStringLiteral("Owner")));
  tabs->addTab(system, QStringLiteral("&System"));

  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok, this);
  connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);

  auto* layout = new QVBoxLayout(this);
  layout->addWidget(tabs);
  layout->addWidget(buttons);
}

}  // namespace brevika
