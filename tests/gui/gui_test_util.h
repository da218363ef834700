// Helpers of the GUI tests: readable QString failures and an AppServices
// that records help requests and position saves and may name the folder of
// the loan record tables.
#pragma once
#include <QFont>
#include <QString>
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

}  // namespace brevika
