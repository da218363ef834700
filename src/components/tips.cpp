#include "components/tips.h"

#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QPainter>
#include <QPainterPath>
#include <QPushButton>
#include <QVBoxLayout>

#include "components/app_services.h"

namespace brevika {

namespace {

// A small light bulb beside the tip.
class BulbIcon : public QWidget {
 public:
  explicit BulbIcon(QWidget* parent) : QWidget(parent) { setFixedSize(48, 64); }

 protected:
  void paintEvent(QPaintEvent*) override {
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(QColor(120, 100, 0), 1.5));
    p.setBrush(QColor(255, 236, 90));
    p.drawEllipse(QRectF(6, 4, 36, 36));
    p.setBrush(QColor(170, 170, 170));
    p.setPen(QPen(QColor(90, 90, 90), 1.5));
    p.drawRect(QRectF(16, 38, 16, 14));
    p.drawLine(QPointF(16, 43), QPointF(32, 43));
    p.drawLine(QPointF(16, 48), QPointF(32, 48));
    p.setBrush(QColor(90, 90, 90));
    p.drawRoundedRect(QRectF(19, 52, 10, 6), 2, 2);
  }
};

}  // namespace

const QStringList& TipTexts() {
  static const QStringList tips = {
      QStringLiteral("You can press [F1] for help at any time?"),
      QStringLiteral("'Undo' cancels all changes since the last press of the 'Calc' button?"),
      QStringLiteral("'Reset' sets all values to the program's defaults?"),
      QStringLiteral("A calculator's last position can be saved when it is closed? Just make sure "
                     "that from the {Options} menu, that {Save Positions} is checked."),
      QStringLiteral("You can double click on a field to select that field's value and when you "
                     "start typing, the current value will be cleared?"),
      QStringLiteral("A Fixed Principal amortization method results in a declining payment amount? "
                     "The first payment will be the highest one."),
      QStringLiteral("A loan Paid-in-Advance (Origination Date = First Payment Date) will require "
                     "you to pay less interest than a loan Paid-in-Arrears?"),
      QStringLiteral("The Loan Calculator solves for whichever of Amount, Total Periods, Annual "
                     "Rate or Periodic Payment you leave at zero?"),
      QStringLiteral("Only one value may be left at zero? With two zeros the calculator asks you "
                     "to try again."),
      QStringLiteral("You can have two Loan Calculators open side by side? Press [F2] once for "
                     "each."),
      QStringLiteral("Both windows of a calculator share their values? A second window opens with "
                     "the values of the last 'Calc' in the first."),
      QStringLiteral("The values you entered are still there when you open a calculator again, "
                     "until you quit the program?"),
      QStringLiteral("The {Windows} menu lists every open calculator and brings the one you pick "
                     "to the front?"),
      QStringLiteral("'Copy' puts the calculator's values on the clipboard as neatly aligned "
                     "text, ready to paste into a letter or a spreadsheet?"),
      QStringLiteral("'Print' uses the font you choose with {Printer Fonts} in the {Options} "
                     "menu?"),
      QStringLiteral("The Canadian amortizing method switches the payment period to Monthly and "
                     "the compounding period to SemiAnnually when you press 'Calc'?"),
      QStringLiteral("To solve for the Annual Rate, the payment period and the compounding "
                     "period must be the same?"),
      QStringLiteral("The term of an Interest Only loan cannot be solved for? Its balance never "
                     "goes down, so it would never be paid off."),
      QStringLiteral("A payment no larger than one period's interest never pays off a loan? The "
                     "calculator asks you to increase the payment."),
      QStringLiteral("Total Interest is everything you pay over the life of the loan minus the "
                     "amount you borrowed?"),
      QStringLiteral("A loan of 100,000 at 7.5% for 360 months costs 699.21 a month paid in "
                     "arrears, but 694.87 paid in advance?"),
      QStringLiteral("Annual rates are entered as percentages? Type 7.5 for 7.5% a year."),
      QStringLiteral("[Esc] closes a calculator window, just like its 'Close' button?"),
      QStringLiteral("The {Help} button of a calculator explains the whole window, while [F1] "
                     "explains the field you are in?"),
      QStringLiteral("{Topic Search} in the {Help} menu finds help topics while you type?"),
      QStringLiteral("{Color Bckgrnd} in the {Options} menu paints the main window in shades of "
                     "blue from the next start?"),
  };
  return tips;
}

TTipDialog::TTipDialog(AppServices* services, int first, QWidget* parent)
    : QDialog(parent), services_(services) {
  setObjectName(QStringLiteral("EPTipDialog1"));
  setWindowTitle(QStringLiteral("Tips"));
  setFixedSize(470, 250);

  auto* title = new QLabel(QStringLiteral("Did you know..."), this);
  title->setObjectName(QStringLiteral("TipTitle"));
  QFont big = title->font();
  big.setPointSize(big.pointSize() + 6);
  big.setBold(true);
  title->setFont(big);

  text_ = new QLabel(this);
  text_->setObjectName(QStringLiteral("TipText"));
  text_->setWordWrap(true);
  text_->setAlignment(Qt::AlignLeft | Qt::AlignTop);
  QFont tipFont = text_->font();
  tipFont.setPointSize(tipFont.pointSize() + 1);
  text_->setFont(tipFont);

  number_ = new QLabel(this);
  number_->setObjectName(QStringLiteral("TipNumber"));

  auto* panel = new QWidget(this);
  panel->setObjectName(QStringLiteral("TipPanel"));
  panel->setAutoFillBackground(true);
  QPalette pal = panel->palette();
  pal.setColor(QPalette::Window, Qt::white);
  pal.setColor(QPalette::WindowText, Qt::black);
  panel->setPalette(pal);
  auto* panelLayout = new QHBoxLayout(panel);
  panelLayout->setContentsMargins(12, 12, 12, 12);
  panelLayout->setSpacing(14);
  panelLayout->addWidget(new BulbIcon(panel), 0, Qt::AlignTop);
  auto* words = new QVBoxLayout;
  title->setParent(panel);
  text_->setParent(panel);
  words->addWidget(title);
  words->addSpacing(6);
  words->addWidget(text_, 1);
  panelLayout->addLayout(words, 1);

  auto* next = new QPushButton(QStringLiteral("&Next Tip"), this);
  next->setObjectName(QStringLiteral("NextTipBTN"));
  auto* help = new QPushButton(QStringLiteral("&Help"), this);
  help->setObjectName(QStringLiteral("HelpBTN"));
  auto* close = new QPushButton(QStringLiteral("Close"), this);
  close->setObjectName(QStringLiteral("CloseBTN"));
  close->setDefault(true);
  connect(next, &QPushButton::clicked, this, &TTipDialog::NextTip);
  connect(help, &QPushButton::clicked, this, [this] {
    if (services_) services_->ShowHelp(kTipsHelpContext);
  });
  connect(close, &QPushButton::clicked, this, &QDialog::accept);

  auto* buttons = new QHBoxLayout;
  buttons->addWidget(number_);
  buttons->addStretch(1);
  buttons->addWidget(next);
  buttons->addWidget(help);
  buttons->addWidget(close);

  auto* layout = new QVBoxLayout(this);
  layout->addWidget(panel, 1);
  layout->addLayout(buttons);

  SetTip(first);
}

void TTipDialog::SetTip(int index) {
  const int count = static_cast<int>(TipTexts().size());
  index_ = ((index % count) + count) % count;
  text_->setText(TipTexts()[index_]);
  number_->setText(QStringLiteral("Tip %1 of %2").arg(index_ + 1).arg(count));
}

QString TTipDialog::tipText() const { return TipTexts()[index_]; }

void TTipDialog::NextTip() { SetTip(index_ + 1); }

void TTipDialog::keyPressEvent(QKeyEvent* event) {
  if (event->key() == Qt::Key_F1 && event->modifiers() == Qt::NoModifier) {
    if (services_) services_->ShowHelp(kTipsHelpContext);
    return;
  }
  QDialog::keyPressEvent(event);
}

}  // namespace brevika
