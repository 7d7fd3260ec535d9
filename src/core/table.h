// Fixed-capacity tables numbered from 1, as the data model has them. Slot 0 exists
// and holds a zero value but is never written by the mesher. An index outside
// 0..capacity ends the run with the capacity message instead of touching memory
// that does not belong to the table.
#pragma once

#include <vector>

#include "core/errors.h"

namespace gencampi {

template <class T>
class Table {
 public:
  Table() = default;
  explicit Table(int capacity) : v_(static_cast<std::size_t>(capacity) + 1) {}

  int capacity() const { return static_cast<int>(v_.size()) - 1; }

  T& operator[](int i) {
    check(i);
    return v_[static_cast<std::size_t>(i)];
  }
  const T& operator[](int i) const {
    check(i);
    return v_[static_cast<std::size_t>(i)];
  }

  // Unchecked access for inner loops whose bounds are already known to be valid.
  T* data() { return v_.data(); }
  const T* data() const { return v_.data(); }

 private:
  void check(int i) const {
    if (i < 0 || i > capacity()) throw fine_capacita();
  }
  std::vector<T> v_;
};

}  // namespace gencampi
