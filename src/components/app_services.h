// What windows ask of the application: help, window positions, hints, the
// printer font and the folder of the loan record tables. The main window
// implements it; tests may supply their own.
#pragma once
#include <QFont>
#include <string>

class QWidget;

namespace brevika {

class AppServices {
 public:
  virtual ~AppServices() = default;
  // Opens the help viewer at a numbered topic (0 = contents).
  virtual void ShowHelp(int context) = 0;
  // "Show Hints" and "Save Positions" preferences.
  virtual bool ShowHints() const = 0;
  virtual bool SavePositions() const = 0;
  // Saved position by the window's caption; no-ops for an empty caption.
  virtual void SavePosition(QWidget* window) = 0;
  virtual void RestorePosition(QWidget* window) = 0;
  // Font every printout uses.
  virtual QFont PrinterFont() const = 0;
  // Folder of the loan record tables; empty (the default) for the folder
  // the program keeps them in.
  virtual std::string LoanTablesFolder() const { return {}; }
};

}  // namespace brevika
