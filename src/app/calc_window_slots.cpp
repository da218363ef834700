#include "app/calc_window_slots.h"

#include <QAction>
#include <QApplication>
#include <QMenu>
#include <QWindow>
#include <exception>
#include <stdexcept>

#include "calculators/ui/calc_window.h"

namespace brevika {

namespace {

// A window whose transient parent is the modal window is not blocked by it,
// stays in front of it and opens centred over it; it is no child of it, so
// it stays open, as it is, when the modal window goes.
void KeepInFrontOf(QWidget* window, QWidget* over) {
  if (!over || !over->window()->windowHandle()) return;
  window->winId();
  if (QWindow* handle = window->windowHandle())
    handle->setTransientParent(over->window()->windowHandle());
}

}  // namespace

CalcWindowSlots::CalcWindowSlots(QMenu* windowsMenu, QObject* parent)
    : QObject(parent), menu_(windowsMenu) {}

CalcWindowSlots::~CalcWindowSlots() {
  // Windows still open go with the bookkeeping; their records go after them.
  for (Kind& k : kinds_)
    for (Slot& s : k.entries)
      if (CalcWindow* window = s.window.data()) {
        disconnect(window, nullptr, this, nullptr);
        delete window;
      }
}

void CalcWindowSlots::SetFactory(const KindInfo& kind, Factory factory) {
  kinds_[Index(kind.kind)].info = &kind;
  kinds_[Index(kind.kind)].factory = std::move(factory);
}

int CalcWindowSlots::SlotCount(CalcKind kind) const {
  const KindInfo* info = kinds_[Index(kind)].info;
  return info ? info->slotCount : kMaxSlots;
}

bool CalcWindowSlots::CanOpen(CalcKind kind) const {
  return static_cast<bool>(kinds_[Index(kind)].factory);
}

CalcWindow* CalcWindowSlots::Open(CalcKind kind, QWidget* over) {
  Kind& k = kinds_[Index(kind)];
  if (!k.factory) return nullptr;
  for (int slot = 1; slot <= SlotCount(kind); ++slot) {
    Slot& s = SlotOf(kind, slot);
    if (s.inUse) continue;
    const bool created = s.window.isNull();
    try {
      // A free slot that still has its window reuses it.
      if (created) {
        CalcWindow* window = k.factory(slot);
        if (!window) throw std::runtime_error("no window");
        s.window = window;
        connect(window, &CalcWindow::windowClosed, this,
                [this, kind, slot] { Release(kind, slot); });
        // A window deleted without closing still frees its slot. It is half
        // destroyed when `destroyed` comes, so it is not looked at (no
        // downcast): a window that never closed still holds its slot.
        auto closed = std::make_shared<bool>(false);
        connect(window, &CalcWindow::windowClosed, this, [closed] { *closed = true; });
        connect(window, &QObject::destroyed, this, [this, kind, slot, closed] {
          if (!*closed) Release(kind, slot);
        });
      }
      const QString caption = QString::fromStdString(SlotCaption(*k.info, slot));
      s.window->setWindowTitle(caption);
      s.inUse = true;
      s.item = menu_->addAction(caption);
      QAction* item = s.item;
      connect(item, &QAction::triggered, this, [this, item] { WindowItemClick(item); });
      KeepInFrontOf(s.window, over);
      s.window->show();
      s.window->raise();
      s.window->activateWindow();
      emit windowOpened(kind, slot);
      return s.window;
    } catch (const std::exception&) {
      if (s.item) {
        menu_->removeAction(s.item);
        delete s.item;
        s.item = nullptr;
      }
      s.inUse = false;
      if (created && s.window) delete s.window.data();
      QApplication::beep();
      QApplication::beep();
      return nullptr;
    }
  }
  return nullptr;
}

void CalcWindowSlots::Release(CalcKind kind, int slot) {
  Slot& s = SlotOf(kind, slot);
  if (!s.inUse) return;
  s.inUse = false;
  // The window deletes itself once its close has finished.
  s.window = nullptr;
  if (s.item) {
    menu_->removeAction(s.item);
    s.item->deleteLater();
    s.item = nullptr;
  }
  emit windowClosed(kind, slot);
}

void CalcWindowSlots::ShowInFront(CalcKind kind, int slot, QWidget* over) {
  if (!InUse(kind, slot)) return;
  CalcWindow* window = SlotOf(kind, slot).window.data();
  if (!window) return;
  // Hidden and shown again: the transient parent takes effect, and the
  // window moves its record into its fields.
  window->hide();
  KeepInFrontOf(window, over);
  window->showNormal();
  window->raise();
  window->activateWindow();
}

bool CalcWindowSlots::InUse(CalcKind kind, int slot) const {
  return slot >= 1 && slot <= SlotCount(kind) && SlotOf(kind, slot).inUse;
}

CalcWindow* CalcWindowSlots::Window(CalcKind kind, int slot) const {
  if (slot < 1 || slot > SlotCount(kind)) return nullptr;
  return SlotOf(kind, slot).window.data();
}

QAction* CalcWindowSlots::MenuItem(CalcKind kind, int slot) const {
  if (slot < 1 || slot > SlotCount(kind)) return nullptr;
  return SlotOf(kind, slot).item;
}

int CalcWindowSlots::OpenCount() const {
  int n = 0;
  for (const Kind& k : kinds_)
    for (const Slot& s : k.entries) n += s.inUse ? 1 : 0;
  return n;
}

void CalcWindowSlots::WindowItemClick(QAction* item) {
  for (const Kind& k : kinds_)
    for (const Slot& s : k.entries) {
      if (!item || s.item != item || !s.window) continue;
      if (s.window->isMinimized()) s.window->showNormal();
      s.window->show();
      s.window->raise();
      s.window->activateWindow();
      return;
    }
}

void CalcWindowSlots::CloseAll() {
  for (Kind& k : kinds_)
    for (Slot& s : k.entries)
      if (s.inUse && s.window) s.window->close();
}

}  // namespace brevika
