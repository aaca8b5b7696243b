// A growable array of GBK texts indexed from 1, as the program-wide arrays
// are. Every index outside 1..Size() is a fatal error of the framework
// (fw::Fatal), never undefined behaviour; callers that may be out of range
// test Size() first, so no user action reaches the fatal report.
//
// Not synchronised: an array that a worker fills is appended on the GUI
// thread (the worker posts its appends), and arrays that workers read are
// complete before the workers start.
#pragma once

#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace fw {

class TextArray {
 public:
  TextArray() = default;
  explicit TextArray(std::vector<std::string> items) : items_(std::move(items)) {}

  int Size() const { return static_cast<int>(items_.size()); }
  bool Empty() const { return items_.empty(); }
  // Element `index` (1-based); fatal outside 1..Size().
  const std::string& At(int index) const;
  std::string& At(int index);
  const std::string& operator[](int index) const { return At(index); }
  std::string& operator[](int index) { return At(index); }

  void Append(std::string text) { items_.push_back(std::move(text)); }
  void Clear() { items_.clear(); }

  auto begin() const { return items_.begin(); }
  auto end() const { return items_.end(); }
  const std::vector<std::string>& Items() const { return items_; }

  friend bool operator==(const TextArray&, const TextArray&) = default;

 private:
  std::vector<std::string> items_;
};

}  // namespace fw
