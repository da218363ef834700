#include "components/messages.h"

#include <QMessageBox>

namespace brevika {

namespace {
MessageHandler& CurrentMessageHandler() {
  static MessageHandler handler;
  return handler;
}

QuestionHandler& CurrentQuestionHandler() {
  static QuestionHandler handler;
  return handler;
}
}  // namespace

QString MessageText(const std::string& text) {
  QString shown = QString::fromStdString(ShownText(text));
  shown.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
  return shown;
}

void ShowMessage(QWidget* parent, const Message& message) {
  if (CurrentMessageHandler()) {
    CurrentMessageHandler()(parent, message);
    return;
  }
  QMessageBox::Icon icon = QMessageBox::Warning;
  QString caption = QStringLiteral("Warning");
  switch (message.box) {
    case BoxType::Warning: break;
    case BoxType::Error:
      icon = QMessageBox::Critical;
      caption = QStringLiteral("Error");
      break;
    case BoxType::Information:
      icon = QMessageBox::Information;
      caption = QStringLiteral("Information");
      break;
  }
  QMessageBox box(icon, caption, MessageText(message.text), QMessageBox::Ok, parent);
  box.setTextFormat(Qt::PlainText);
  box.exec();
}

void ShowMessages(QWidget* parent, const Outcome& outcome) {
  for (const Message& m : outcome.messages) ShowMessage(parent, m);
}

void SetMessageHandler(MessageHandler handler) { CurrentMessageHandler() = std::move(handler); }

bool AskYesNo(QWidget* parent, const Message& question, bool yesIsSafe) {
  if (CurrentQuestionHandler()) return CurrentQuestionHandler()(parent, question);
  const bool warning = question.box == BoxType::Warning;
  QMessageBox box(warning ? QMessageBox::Warning : QMessageBox::Question,
                  warning ? QStringLiteral("Warning") : QStringLiteral("Confirm"),
                  MessageText(question.text), QMessageBox::Yes | QMessageBox::No, parent);
  box.setTextFormat(Qt::PlainText);
  box.setDefaultButton(yesIsSafe ? QMessageBox::Yes : QMessageBox::No);
  return box.exec() == QMessageBox::Yes;
}

void SetQuestionHandler(QuestionHandler handler) { CurrentQuestionHandler() = std::move(handler); }

}  // namespace brevika
