// Yes/No questions asked before stored data is replaced or deleted.
#pragma once
#include <QString>
#include <functional>

#include "finance/outcome.h"

class QWidget;

namespace brevika {

// Asks modally with Yes and No buttons; true on Yes. A warning question
// shows the warning icon, any other the question icon. A lone carriage
// return in the text breaks the line. Enter picks the safe answer:
// `yesIsSafe` says which one that is.
bool AskYesNo(QWidget* parent, const Message& question, bool yesIsSafe = false);

// Tests answer the questions themselves (an empty function restores the box).
using QuestionHandler = std::function<bool(QWidget* parent, const Message& question)>;
void SetQuestionHandler(QuestionHandler handler);

}  // namespace brevika
