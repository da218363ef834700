// Options of the amortization schedule: amortizing method, rate basis and
// how points are paid. Modal, one per schedule window. The lists hold the
// choices the next calculation uses; the stored values carry the last
// closed choices through the whole run.
#pragma once
#include <QDialog>

#include "amortization/amort_records.h"

class QComboBox;
class QGroupBox;
class QLabel;
class QPushButton;

namespace brevika {

class AppServices;

class TAmortOpt : public QDialog {
  Q_OBJECT
 public:
  TAmortOpt(AmortOptValues* stored, AppServices* services, QWidget* parent = nullptr);

  // Fills the three lists and selects the defaults (the schedule window does
  // this each time it is shown).
  void SetDefaults();

  // The lists' current selections, as the engine takes them.
  AmortChoices Choices() const;
  int amortMthd() const;
  // Loading a saved loan sets the method and the basis.
  void SetAmortMthd(int index);
  void SetRateBasis(int index);
  // Texts of the current selections (for the printed report).
  QString AmortMthdText() const;
  QString RateBasisText() const;
  QString PointsPaidMthdText() const;

  QComboBox* AmortMthd;
  QComboBox* RateBasis;
  QComboBox* PointsPaidMthd;
  QPushButton* BitBtn1;  // OK
  QPushButton* BitBtn2;  // Cancel

 protected:
  void showEvent(QShowEvent* e) override;
  void done(int result) override;
  void keyPressEvent(QKeyEvent* e) override;
  void closeEvent(QCloseEvent* e) override;

 private:
  void FormShow();
  void CancelClick();
  void StoreControls();

  AmortOptValues* stored_;
  AppServices* services_;
  QGroupBox* GroupBox1;
  QLabel* lAmortMthd;
  QLabel* lRateBasis;
  QLabel* lPointsPaidMthd;
  AmortChoices remembered_;
};

}  // namespace brevika
