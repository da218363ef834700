// Help contexts of controls and the F1 key: each control may carry a
// numbered help topic; F1 opens the topic of the focused control, or the
// window's own when the control has none.
#pragma once

class QShortcut;
class QWidget;

namespace brevika {

class AppServices;

// Help context of a control (0 = help contents), kept as the dynamic
// property "helpContext".
void SetHelpContext(QWidget* widget, int context);
// The context of the widget or of its nearest ancestor that has one; -1 if none.
int HelpContextOf(const QWidget* widget);
// F1: the topic of the focused widget, else the window's own topic.
int HelpTopicFor(const QWidget* focused, int windowTopic);

// What F1 does on a control whose context is 0: the calculator windows
// open the help contents, the other windows their own topic.
enum class ZeroContext { Contents, WindowTopic };

// The topic F1 opens in `window`: its focused control's, else `windowTopic`.
int FocusedHelpTopic(const QWidget* window, int windowTopic, ZeroContext zero);

// Installs F1 on a window: opens FocusedHelpTopic through the services
// (nothing without services).
QShortcut* InstallHelpKey(QWidget* window, AppServices* services, int windowTopic, ZeroContext zero);

}  // namespace brevika
