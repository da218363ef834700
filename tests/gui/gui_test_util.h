// Helpers of the GUI tests: readable QString failures, an AppServices
// that records help requests and position saves and may name the folder of
// the loan record tables, and typing into and clicking a window's controls
// by their names.
#pragma once
#include <gtest/gtest.h>

#include <QFont>
#include <QLineEdit>
#include <QPushButton>
#include <QString>
#include <QTest>
#include <ostream>
#include <string>
#include <vector>

#include "components/app_services.h"

// GoogleTest prints QStrings as text.
inline void PrintTo(const QString& s, std::ostream* os) { *os << '"' << s.toStdString() << '"'; }

namespace brevika {

class TestServices : public AppServices {
 public:
  std::vector<int> helpRequests;
  bool savePositions = false;
  int saves = 0, restores = 0;
  QFont font{QStringLiteral("Courier New"), 10};
  std::string tablesFolder;  // the program's default when empty

  void ShowHelp(int context) override { helpRequests.push_back(context); }
  bool ShowHints() const override { return false; }
  bool SavePositions() const override { return savePositions; }
  void SavePosition(QWidget*) override { ++saves; }
  void RestorePosition(QWidget*) override { ++restores; }
  QFont PrinterFont() const override { return font; }
  std::string LoanTablesFolder() const override {
    return tablesFolder.empty() ? AppServices::LoanTablesFolder() : tablesFolder;
  }
};

// Types `keys` into the line edit `field` of `w`, over what it holds.
inline void Type(QWidget* w, const QString& field, const char* keys) {
  auto* f = w->findChild<QLineEdit*>(field);
  ASSERT_NE(f, nullptr) << field.toStdString();
  f->setFocus();
  f->selectAll();
  QTest::keyClicks(f, QString::fromLatin1(keys));
}
inline void Type(QWidget* w, const char* field, const char* keys) { Type(w, QString::fromLatin1(field), keys); }

// Clicks the push button `button` of `w`.
inline void Click(QWidget* w, const char* button) {
  auto* b = w->findChild<QPushButton*>(QString::fromLatin1(button));
  ASSERT_NE(b, nullptr) << button;
  QTest::mouseClick(b, Qt::LeftButton);
}

// The text of the line edit `field` of `w`; "<missing>" without one.
inline QString Text(QWidget* w, const char* field) {
  auto* f = w->findChild<QLineEdit*>(QString::fromLatin1(field));
  return f ? f->text() : QStringLiteral("<missing>");
}

}  // namespace brevika
