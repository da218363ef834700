// What windows ask of the application: help, window positions, hints and
// the printer font. The main window implements it; tests may supply their own.
#pragma once
#include <QFont>

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
};

}  // namespace brevika
