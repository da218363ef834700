// What every calculation returns: the messages to show, in order, and
// whether it refused. A calculation computes on a copy of its record and
// assigns the copy back only when it did not refuse; windows show the
// messages, the command line maps the outcome to its exit code.
#pragma once
#include <string>
#include <utility>
#include <vector>

namespace brevika {

enum class BoxType { Information, Warning, Error };

// A refusal or remark of a calculation; the window shows it in a message box.
struct Message {
  std::string text;
  BoxType box = BoxType::Warning;
  bool operator==(const Message&) const = default;
};

struct Outcome {
  std::vector<Message> messages;
  bool refused = false;

  static Outcome Ok() { return {}; }
  static Outcome Refuse(Message m) {
    Outcome o;
    o.messages.push_back(std::move(m));
    o.refused = true;
    return o;
  }
  // A remark shown after a calculation that ran.
  Outcome& Say(Message m) {
    messages.push_back(std::move(m));
    return *this;
  }
  bool ok() const { return !refused; }
  // First message text, or empty.
  std::string FirstText() const { return messages.empty() ? std::string() : messages.front().text; }
};

// Message for a result that is not a finite number.
Message NonFiniteMessage();

// A message text as it is shown: a lone carriage return breaks the line
// too (a carriage return before a line feed stays as it is).
std::string ShownText(std::string text);

}  // namespace brevika
