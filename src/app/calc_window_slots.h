// Which calculator windows are open: for every calculator kind its caption
// base, its slots (two, the refinance advisor one), the kind's transfer
// record shared by its windows, each slot's window and its entry in the
// main window's "&Windows" menu. The main window owns the one instance.
#pragma once
#include <QKeySequence>
#include <QObject>
#include <QPointer>
#include <QString>
#include <array>
#include <functional>
#include <memory>
#include <new>

class QAction;
class QMenu;

namespace brevika {

class CalcWindow;

enum class CalcKind { Loan, InterestDue, RemainingBalance, Accelerated, Balloon, Refinance };
inline constexpr int kCalcKindCount = 6;
inline constexpr int kMaxSlots = 2;

struct CalcKindInfo {
  const char* captionBase;  // ends in one blank: "Loan Calculator "
  int slotCount;
  const char* menuName;     // object name of the menu item ("mLoan")
  const char* menuCaption;  // "&Loan..."
  QKeyCombination shortcut;
};

const CalcKindInfo& KindInfo(CalcKind kind);
// Caption of a slot's window: caption base followed by the slot number.
QString SlotCaption(CalcKind kind, int slot);

class CalcWindowSlots : public QObject {
  Q_OBJECT
 public:
  // Creates the kind's window for a slot (not yet shown). It may throw.
  using Factory = std::function<CalcWindow*(int slot)>;

  explicit CalcWindowSlots(QMenu* windowsMenu, QObject* parent = nullptr);
  ~CalcWindowSlots() override;

  // Kinds without a factory cannot be opened (their windows do not exist).
  void SetFactory(CalcKind kind, Factory factory);
  bool CanOpen(CalcKind kind) const;

  // Opens the kind's window in its first free slot, captions and shows it
  // and adds its "&Windows" entry. Nothing when every slot is taken. An
  // error while opening beeps twice and leaves the slot free.
  CalcWindow* Open(CalcKind kind);

  bool InUse(CalcKind kind, int slot) const;
  CalcWindow* Window(CalcKind kind, int slot) const;
  QAction* MenuItem(CalcKind kind, int slot) const;
  int OpenCount() const;

  // Click on a "&Windows" entry: brings that window to the front.
  void WindowItemClick(QAction* item);
  // Closes every open window (they save their positions and free their slots).
  void CloseAll();

  // The kind's transfer record, made by `init` the first time it is asked
  // for and kept until this object goes; nullptr when it cannot be made.
  template <class R, class Init>
  R* Record(CalcKind kind, Init init) {
    Kind& k = kinds_[Index(kind)];
    if (!k.record) {
      try {
        k.record = std::make_shared<R>(init());
      } catch (const std::bad_alloc&) {
        return nullptr;
      }
    }
    return static_cast<R*>(k.record.get());
  }
  bool HasRecord(CalcKind kind) const { return kinds_[Index(kind)].record != nullptr; }

 signals:
  void windowOpened(brevika::CalcKind kind, int slot);
  void windowClosed(brevika::CalcKind kind, int slot);

 private:
  struct Slot {
    bool inUse = false;
    QPointer<CalcWindow> window;
    QAction* item = nullptr;
  };
  struct Kind {
    Factory factory;
    std::shared_ptr<void> record;
    std::array<Slot, kMaxSlots> entries;
  };
  static std::size_t Index(CalcKind kind) { return static_cast<std::size_t>(kind); }
  Slot& SlotOf(CalcKind kind, int slot) { return kinds_[Index(kind)].entries[slot - 1]; }
  const Slot& SlotOf(CalcKind kind, int slot) const { return kinds_[Index(kind)].entries[slot - 1]; }
  void Release(CalcKind kind, int slot);

  QMenu* menu_;
  std::array<Kind, kCalcKindCount> kinds_;
};

}  // namespace brevika
