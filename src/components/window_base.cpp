#include "components/window_base.h"

#include <QPushButton>
#include <QShortcut>

#include "components/app_services.h"

namespace brevika {

WindowBase::WindowBase(AppServices* services, QWidget* parent, Qt::WindowFlags flags)
    : QDialog(parent, flags), services_(services) {}

WindowBase::~WindowBase() = default;

void WindowBase::SetHelpTopic(int topic, ZeroContext zero) {
  helpTopic_ = topic;
  zero_ = zero;
  if (helpKey_) return;
  helpKey_ = true;
  auto* f1 = new QShortcut(QKeySequence(Qt::Key_F1), this);
  f1->setContext(Qt::WindowShortcut);
  connect(f1, &QShortcut::activated, this, &WindowBase::ShowFocusedHelp);
}

void WindowBase::ShowWindowHelp() {
  if (services_) services_->ShowHelp(helpTopic_);
}

void WindowBase::ShowFocusedHelp() {
  if (services_) services_->ShowHelp(FocusedHelpTopic(this, helpTopic_, zero_));
}

bool WindowBase::SavesPositions() const { return services_ && services_->SavePositions(); }
bool WindowBase::ShowsHints() const { return services_ && services_->ShowHints(); }

QFont WindowBase::PrintFont() const {
  return services_ ? services_->PrinterFont() : QFont(QStringLiteral("Courier New"), 10);
}

void WindowBase::RestoreSavedPosition() {
  if (SavesPositions()) services_->RestorePosition(this);
}

void WindowBase::SaveCurrentPosition() {
  if (SavesPositions()) services_->SavePosition(this);
}

QPushButton* WindowBase::MakeButton(QWidget* parent, const char* name, const QString& caption,
                                    int help) {
  auto* b = new QPushButton(caption, parent);
  b->setObjectName(QString::fromLatin1(name));
  b->setAutoDefault(false);
  if (help >= 0) SetHelpContext(b, help);
  return b;
}

}  // namespace brevika
