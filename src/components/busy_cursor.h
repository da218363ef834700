// The busy (wait) cursor for the lifetime of an object, however the scope
// ends: long operations (Calc of a schedule, saving, loading) show it.
#pragma once

namespace brevika {

class BusyCursor {
 public:
  BusyCursor();
  ~BusyCursor();
  BusyCursor(const BusyCursor&) = delete;
  BusyCursor& operator=(const BusyCursor&) = delete;
};

}  // namespace brevika
