// Start-up of the program: the display check, the splash, the main window
// and the event loop.
#pragma once
#include <QElapsedTimer>
#include <QString>

class QApplication;

namespace brevika {

// True when a display is available: DISPLAY or WAYLAND_DISPLAY is set, or a
// Qt platform was chosen explicitly (QT_QPA_PLATFORM).
bool HaveDisplay();
// The one line printed when there is none; `invokedAs` is the program as it
// was started ("brevika", "build/brevika"), for the command it suggests.
QString NoDisplayMessage(const QString& invokedAs);

// Shows the splash, creates the main window, keeps the splash up until
// `splashMs` have passed since `started`, then shows the main window and
// runs the event loop until it closes. Returns the loop's exit code.
// The preferences are those of `preferencesDir` (default: the user's).
int RunBrevika(QApplication& app, const QElapsedTimer& started, int splashMs = 3000,
               const QString& preferencesDir = {});

}  // namespace brevika
