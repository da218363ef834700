// Helpers of the application shell tests: a main window over a temporary
// preferences folder, and reading the preferences file back.
#pragma once
#include <QApplication>
#include <QCoreApplication>
#include <QEvent>
#include <QFile>
#include <QTemporaryDir>
#include <memory>

#include "app/main_form.h"
#include "calculators/ui/calc_window.h"
#include "components/tips.h"
#include "gui_test_util.h"

namespace brevika {

class ShellTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(dir_.isValid());
    SetMessageHandler([this](QWidget*, const Message& m) { messages_.push_back(m); });
  }
  void TearDown() override {
    form_.reset();
    Settle();
    SetMessageHandler(nullptr);
  }

  // A main window reading <temporary folder>/Brevika2.ini; `show` shows it
  // and closes the start-up tips so that they do not get in the way.
  TMainForm* MakeForm(bool show = true) {
    form_.reset();
    Settle();
    form_ = std::make_unique<TMainForm>(dir_.path());
    if (show) {
      form_->show();
      Settle();
      if (TTipDialog* tips = form_->tipDialog()) tips->close();
      Settle();
    }
    return form_.get();
  }

  // Runs queued calls and deferred deletes.
  static void Settle() {
    for (int k = 0; k < 3; ++k) {
      QCoreApplication::processEvents();
      QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }
  }

  QString IniPath() const { return dir_.filePath(QStringLiteral("Brevika2.ini")); }
  QByteArray IniText() const {
    QFile f(IniPath());
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
  }
  void WriteIni(const QByteArray& bytes) const {
    QFile f(IniPath());
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(bytes);
  }

  QTemporaryDir dir_;
  std::unique_ptr<TMainForm> form_;
  std::vector<Message> messages_;
};

}  // namespace brevika
