#include "components/help_keys.h"

#include <QShortcut>
#include <QVariant>
#include <QWidget>

#include "components/app_services.h"

namespace brevika {

namespace {
const char* const kHelpProperty = "helpContext";
}  // namespace

void SetHelpContext(QWidget* widget, int context) { widget->setProperty(kHelpProperty, context); }

int HelpContextOf(const QWidget* widget) {
  for (const QWidget* w = widget; w; w = w->parentWidget()) {
    const QVariant v = w->property(kHelpProperty);
    if (v.isValid()) return v.toInt();
    if (w->isWindow()) break;
  }
  return -1;
}

int HelpTopicFor(const QWidget* focused, int windowTopic) {
  const int context = focused ? HelpContextOf(focused) : -1;
  return context >= 0 ? context : windowTopic;
}

int FocusedHelpTopic(const QWidget* window, int windowTopic, ZeroContext zero) {
  const QWidget* focused = window->focusWidget();
  if (zero == ZeroContext::Contents) return HelpTopicFor(focused, windowTopic);
  const int context = focused ? HelpContextOf(focused) : -1;
  return context > 0 ? context : windowTopic;
}

QShortcut* InstallHelpKey(QWidget* window, AppServices* services, int windowTopic, ZeroContext zero) {
  auto* f1 = new QShortcut(QKeySequence(Qt::Key_F1), window);
  f1->setContext(Qt::WindowShortcut);
  QObject::connect(f1, &QShortcut::activated, window, [window, services, windowTopic, zero] {
    if (services) services->ShowHelp(FocusedHelpTopic(window, windowTopic, zero));
  });
  return f1;
}

}  // namespace brevika
