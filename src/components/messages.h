// Message boxes and Yes/No questions: the one place a message of the core
// (finance/outcome.h) reaches the screen. Tests may answer in their place.
#pragma once
#include <QString>
#include <functional>
#include <string>

#include "finance/outcome.h"

class QWidget;

namespace brevika {

// A message text for a box: every carriage return breaks the line
// (ShownText, then CR LF as one break).
QString MessageText(const std::string& text);

// Shows a message modally: a warning box captioned "Warning" (or "Error",
// "Information") with an OK button.
void ShowMessage(QWidget* parent, const Message& message);
// Every message of an outcome, in order.
void ShowMessages(QWidget* parent, const Outcome& outcome);
// Tests replace the message box (an empty function restores it).
using MessageHandler = std::function<void(QWidget* parent, const Message& message)>;
void SetMessageHandler(MessageHandler handler);

// Asks modally with Yes and No buttons; true on Yes. A warning question
// shows the warning icon, any other the question icon. Enter picks the
// safe answer: `yesIsSafe` says which one that is.
bool AskYesNo(QWidget* parent, const Message& question, bool yesIsSafe = false);
// Tests answer the questions themselves (an empty function restores the box).
using QuestionHandler = std::function<bool(QWidget* parent, const Message& question)>;
void SetQuestionHandler(QuestionHandler handler);

}  // namespace brevika
