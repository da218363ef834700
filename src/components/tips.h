// The tips dialog shown at every start and from Help > Tips: one short
// tip at a time, each completing the title "Did you know...".
#pragma once
#include <QDialog>
#include <QStringList>

class QLabel;

namespace brevika {

class AppServices;

inline constexpr int kTipsHelpContext = 106;

// The 26 tips, in their fixed order.
const QStringList& TipTexts();

class TTipDialog : public QDialog {
  Q_OBJECT
 public:
  // `services` opens help (may be null); the dialog starts at `first`.
  explicit TTipDialog(AppServices* services, int first = 0, QWidget* parent = nullptr);

  int tipIndex() const { return index_; }
  void SetTip(int index);
  QString tipText() const;

 public slots:
  void NextTip();

 protected:
  void keyPressEvent(QKeyEvent* event) override;

 private:
  AppServices* services_;
  QLabel* text_;
  QLabel* number_;
  int index_ = 0;
};

}  // namespace brevika
