// Base of the program's windows and dialogs: the application's services,
// the window's help topic with its Help command and F1, the saved position,
// buttons made and bound in one call, and the transfer between the window's
// controls and the record it works on. The calculator windows, the schedule
// window and the loan information dialog are built on it.
#pragma once
#include <QDialog>
#include <QPushButton>
#include <QString>

#include "components/help_keys.h"
#include "components/transfer.h"

namespace brevika {

class AppServices;

class WindowBase : public QDialog {
  Q_OBJECT
 public:
  // `services` may be null: no help, hints or saved positions then.
  WindowBase(AppServices* services, QWidget* parent, Qt::WindowFlags flags);
  ~WindowBase() override;

  AppServices* services() const { return services_; }
  int helpTopic() const { return helpTopic_; }

 public slots:
  // The Help command: the window's topic.
  void ShowWindowHelp();
  // F1: the topic of the control with the focus, else the window's.
  void ShowFocusedHelp();

 protected:
  // Sets the window's topic and installs F1 (once); `zero` says what F1
  // does on a control whose context is 0.
  void SetHelpTopic(int topic, ZeroContext zero);
  // The user's "Save Positions" and "Show Hints" choices.
  bool SavesPositions() const;
  bool ShowsHints() const;
  // The font of printouts: the application's printer font, Courier New 10
  // without services.
  QFont PrintFont() const;
  // Places the window where it was last closed, when positions are saved.
  void RestoreSavedPosition();
  // Keeps the window's position, when positions are saved.
  void SaveCurrentPosition();

  // A push button named `name` on `parent` that is not an autodefault
  // button; `help` >= 0 gives it that help context.
  static QPushButton* MakeButton(QWidget* parent, const char* name, const QString& caption,
                                 int help = -1);
  // ... that calls `handler` of this window when clicked.
  template <class W>
  QPushButton* MakeButton(QWidget* parent, const char* name, const QString& caption, int help,
                          void (W::*handler)()) {
    QPushButton* b = MakeButton(parent, name, caption, help);
    connect(b, &QPushButton::clicked, static_cast<W*>(this), handler);
    return b;
  }

  Transfer& transfer() { return transfer_; }
  const Transfer& transfer() const { return transfer_; }

 private:
  AppServices* services_;
  int helpTopic_ = 0;
  ZeroContext zero_ = ZeroContext::Contents;
  bool helpKey_ = false;
  Transfer transfer_;
};

}  // namespace brevika
