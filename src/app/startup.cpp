#include "app/startup.h"

#include <QApplication>

#include "app/main_form.h"
#include "app/splash.h"

namespace brevika {

bool HaveDisplay() {
  return !qEnvironmentVariableIsEmpty("DISPLAY") || !qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY") ||
         !qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM");
}

QString NoDisplayMessage(const QString& invokedAs) {
  return QStringLiteral(
             "brevika: no display found (DISPLAY and WAYLAND_DISPLAY are not set); "
             "to run it without a desktop use a virtual display: xvfb-run -a ") +
         invokedAs;
}

int RunBrevika(QApplication& app, const QElapsedTimer& started, int splashMs,
               const QString& preferencesDir) {
  QApplication::setApplicationName(QStringLiteral("Brevika"));
  QApplication::setApplicationVersion(QStringLiteral("2.0"));
  QApplication::setOrganizationName(QStringLiteral("Brevika"));
  // Desktops match the windows to brevika.desktop (its menu entry and icon).
  QGuiApplication::setDesktopFileName(QStringLiteral("brevika"));
  // The program ends with its main window, even while the help viewer or a
  // calculator is still up.
  app.setQuitOnLastWindowClosed(false);

  TSplash splash;
  splash.ShowNow();

  TMainForm mainForm(preferencesDir.isEmpty() ? DefaultPreferencesDirectory() : preferencesDir);
  QObject::connect(&mainForm, &TMainForm::closed, &app, &QCoreApplication::quit,
                   Qt::QueuedConnection);

  splash.HoldUntil(started, splashMs);
  splash.close();

  mainForm.show();
  return app.exec();
}

}  // namespace brevika
