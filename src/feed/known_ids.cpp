#include "feed/known_ids.h"

#include <algorithm>

namespace tarnwick::feed {

KnownIds::KnownIds(std::initializer_list<std::string> ids) {
  for (const std::string& id : ids) insert(id);
}

std::optional<KnownIds> KnownIds::FromSortedLines(std::string lines) {
  KnownIds known;
  known.lines_ = std::move(lines);
  const std::string_view text = known.lines_;
  if (!text.empty() && text.back() != '\n') return std::nullopt;
  std::string_view previous;
  for (size_t start = 0; start < text.size();) {
    const size_t end = text.find('\n', start);
    const std::string_view line = text.substr(start, end - start);
    if (!known.starts_.empty() && !(previous < line)) return std::nullopt;
    known.starts_.push_back(start);
    previous = line;
    start = end + 1;
  }
  return known;
}

std::string_view KnownIds::LineAt(size_t index) const {
  const size_t start = starts_[index];
  return std::string_view(lines_).substr(start, lines_.find('\n', start) - start);
}

bool KnownIds::contains(std::string_view id) const {
  if (added_.find(id) != added_.end()) return true;
  size_t low = 0;
  size_t high = starts_.size();
  while (low < high) {
    const size_t middle = low + (high - low) / 2;
    const std::string_view line = LineAt(middle);
    if (line == id) return true;
    if (line < id) {
      low = middle + 1;
    } else {
      high = middle;
    }
  }
  return false;
}

void KnownIds::insert(std::string id) {
  if (!contains(id)) added_.insert(std::move(id));
}

std::vector<std::string_view> KnownIds::Sorted() const {
  std::vector<std::string_view> sorted;
  sorted.reserve(size());
  for (size_t index = 0; index < starts_.size(); ++index) sorted.push_back(LineAt(index));
  const size_t read = sorted.size();
  for (const std::string& id : added_) sorted.push_back(id);
  std::inplace_merge(sorted.begin(), sorted.begin() + static_cast<std::ptrdiff_t>(read), sorted.end());
  return sorted;
}

}  // namespace tarnwick::feed
