#pragma once

#include <cstddef>
#include <functional>
#include <initializer_list>
#include <optional>
#include <set>
#include <string>
#include <string_view>
#include <vector>

namespace tarnwick::feed {

/// The message identifiers already in a newsbox, looked up by value: a newsbox may hold hundreds
/// of thousands, and every item of every check is looked up. Those read in one piece lie in one
/// block of text, sorted, so that taking in a large newsbox's costs one pass and no allocation per
/// identifier; those added later are held apart.
class KnownIds {
public:
  KnownIds() = default;
  KnownIds(std::initializer_list<std::string> ids);

  /// Takes identifiers one a line, each ended by a line feed, in ascending byte order without
  /// repeats; nullopt when the text is not that.
  static std::optional<KnownIds> FromSortedLines(std::string lines);

  /// True when the identifier is among them.
  bool contains(std::string_view id) const;
  /// Adds an identifier (nothing when it is there already).
  void insert(std::string id);
  /// How many there are.
  size_t size() const { return starts_.size() + added_.size(); }
  /// Every identifier in ascending byte order (views into this object, valid until it changes).
  std::vector<std::string_view> Sorted() const;

  bool operator==(const KnownIds& other) const { return Sorted() == other.Sorted(); }

private:
  std::string_view LineAt(size_t index) const;

  std::string lines_;
  std::vector<size_t> starts_;                // where each line of lines_ starts, in order
  std::set<std::string, std::less<>> added_;  // those not in lines_
};

}  // namespace tarnwick::feed
