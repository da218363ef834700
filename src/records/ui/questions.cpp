#include "records/ui/questions.h"

#include <QMessageBox>

namespace brevika {
namespace {
QuestionHandler& CurrentHandler() {
  static QuestionHandler handler;
  return handler;
}
}  // namespace

void SetQuestionHandler(QuestionHandler handler) { CurrentHandler() = std::move(handler); }

bool AskYesNo(QWidget* parent, const Message& question, bool yesIsSafe) {
  if (CurrentHandler()) return CurrentHandler()(parent, question);
  QString text = QString::fromStdString(question.text);
  text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
  text.replace(QLatin1Char('\r'), QLatin1Char('\n'));
  const bool warning = question.box == BoxType::Warning;
  QMessageBox box(warning ? QMessageBox::Warning : QMessageBox::Question,
                  warning ? QStringLiteral("Warning") : QStringLiteral("Confirm"), text,
                  QMessageBox::Yes | QMessageBox::No, parent);
  box.setTextFormat(Qt::PlainText);
  box.setDefaultButton(yesIsSafe ? QMessageBox::Yes : QMessageBox::No);
  return box.exec() == QMessageBox::Yes;
}

}  // namespace brevika
