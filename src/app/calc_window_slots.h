// Which calculator windows are open: for every calculator kind (its title
// and number of slots from its description) the kind's transfer record
// shared by its windows, each slot's window and its entry in the main
// window's "&Windows" menu. The main window owns the one instance.
#pragma once
#include <QObject>
#include <QPointer>
#include <QString>
#include <array>
#include <functional>

#include "calculators/kind.h"
#include "calculators/kinds.h"
#include "calculators/transfer_records.h"

class QAction;
class QMenu;

namespace brevika {

class CalcWindow;

class CalcWindowSlots : public QObject {
  Q_OBJECT
 public:
  // Creates the kind's window for a slot (not yet shown). It may throw.
  using Factory = std::function<CalcWindow*(int slot)>;

  explicit CalcWindowSlots(QMenu* windowsMenu, QObject* parent = nullptr);
  ~CalcWindowSlots() override;

  // Kinds without a factory cannot be opened (their windows do not exist).
  void SetFactory(const KindInfo& kind, Factory factory);
  bool CanOpen(CalcKind kind) const;
  // The kind's number of slots (two when it has no factory).
  int SlotCount(CalcKind kind) const;

  // Opens the kind's window in its first free slot, captions and shows it
  // and adds its "&Windows" entry. Nothing when every slot is taken. An
  // error while opening beeps twice and leaves the slot free. `over`, when
  // given, is a modal window the new one must be usable from: the new
  // window is kept in front of it (ShowInFront).
  CalcWindow* Open(CalcKind kind, QWidget* over = nullptr);
  // Shows an open window again in front of the modal window `over`, usable
  // while that is up (a window a modal one blocks takes no input); its
  // fields show the record anew.
  void ShowInFront(CalcKind kind, int slot, QWidget* over);

  bool InUse(CalcKind kind, int slot) const;
  CalcWindow* Window(CalcKind kind, int slot) const;
  QAction* MenuItem(CalcKind kind, int slot) const;
  int OpenCount() const;

  // Click on a "&Windows" entry: brings that window to the front.
  void WindowItemClick(QAction* item);
  // Closes every open window (they save their positions and free their slots).
  void CloseAll();

  // The transfer records of every kind, kept until this object goes.
  TransferRecords& records() { return records_; }
  bool HasRecord(CalcKind kind) const { return records_.Has(kind); }

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
    const KindInfo* info = nullptr;
    Factory factory;
    std::array<Slot, kMaxSlots> entries;
  };
  static std::size_t Index(CalcKind kind) { return static_cast<std::size_t>(kind); }
  Slot& SlotOf(CalcKind kind, int slot) { return kinds_[Index(kind)].entries[slot - 1]; }
  const Slot& SlotOf(CalcKind kind, int slot) const { return kinds_[Index(kind)].entries[slot - 1]; }
  void Release(CalcKind kind, int slot);

  QMenu* menu_;
  // Declared before the slots so that open windows go before their records.
  TransferRecords records_;
  std::array<Kind, kCalcKindCount> kinds_;
};

}  // namespace brevika
