#include "feed/xml_tree_builder.h"

#include "feed/xml_messages.h"
#include "feed/xml_node_scanner.h"

#include <unordered_map>
#include <vector>

namespace tarnwick::feed {
namespace {

// Tag names are short: a loop compares them faster than a call to the library's comparison.
bool SameName(std::string_view left, std::string_view right) {
  if (left.size() != right.size()) return false;
  for (size_t at = 0; at < left.size(); ++at) {
    if (left[at] != right[at]) return false;
  }
  return true;
}

struct OpenTag {
  uint32_t index;
  uint32_t nameStart;
  uint32_t nameLength;
};

class TreeBuilder {
public:
  TreeBuilder(std::string_view text, ElementTable& table, std::string& error)
      : text_(text), table_(table), error_(error) {
    open_.reserve(6);
  }

  uint32_t Run();

private:
  void StartTag(const NodeToken& token);
  void EndTag(const NodeToken& token);
  size_t FindOpen(std::string_view name);
  void CloseNotEnded(size_t from);
  void Push(const NodeToken& token, uint32_t index);
  void Pop();
  void Fail(std::string message);
  std::string_view Name(uint32_t start, uint32_t length) const { return text_.substr(start, length); }
  std::string_view Name(const OpenTag& tag) const { return Name(tag.nameStart, tag.nameLength); }
  uint32_t CurrentParent() const { return open_.empty() ? 0 : open_.back().index; }

  std::string_view text_;
  ElementTable& table_;
  std::string& error_;
  std::vector<OpenTag> open_;
  uint32_t first_ = 0;
  // How many open tags carry each name. Kept only after the first end tag that does not match
  // the innermost open tag, so well-formed documents never pay for it, while a flood of stray end
  // tags under deep nesting is answered without walking the whole stack each time.
  bool countingNames_ = false;
  std::unordered_map<std::string_view, uint32_t> openNames_;
};

uint32_t TreeBuilder::Run() {
  error_.clear();
  NodeScanner scanner(text_);
  NodeToken token;
  for (;;) {
    // Text and whitespace never change the tree and can never be bad, so they are passed over.
    scanner.SkipToMarkup();
    scanner.Next(token);
    switch (token.type) {
      case NodeType::kStartTag:
        StartTag(token);
        break;
      case NodeType::kEndTag:
        EndTag(token);
        break;
      case NodeType::kBad:
        Fail(std::move(token.message));
        break;
      case NodeType::kEndOfDocument:
        if (!open_.empty()) {
          const OpenTag& innermost = open_.back();
          Fail(xml_messages::ElementNotEnded(Name(innermost), table_[innermost.index].start));
          CloseNotEnded(0);
        }
        return first_;
      default:
        break;
    }
  }
}

void TreeBuilder::Fail(std::string message) {
  table_[0].flags |= ElementTable::kIllFormedFlag;
  if (error_.empty()) error_ = std::move(message);
}

// Links the new element as the last child of the element open now; the first child's previous
// link always names the last child, which makes appending constant-time.
void TreeBuilder::StartTag(const NodeToken& token) {
  uint32_t parentIndex = CurrentParent();
  uint32_t index = table_.Add();
  if (first_ == 0) first_ = index;
  ElementRecord& parent = table_[parentIndex];
  ElementRecord& record = table_[index];
  record.start = token.start;
  record.length = token.length;
  record.parent = parentIndex;
  table_.SetStartTagLength(index, token.length);
  if (parent.firstChild != 0) {
    ElementRecord& firstSibling = table_[parent.firstChild];
    uint32_t lastSibling = firstSibling.previousSibling;
    table_[lastSibling].nextSibling = index;
    firstSibling.previousSibling = index;
    record.previousSibling = lastSibling;
  } else {
    parent.firstChild = index;
    record.previousSibling = index;
  }
  if (!token.IsEmptyElement()) Push(token, index);
}

void TreeBuilder::EndTag(const NodeToken& token) {
  std::string_view name = Name(token.nameStart, token.nameLength);
  size_t match = FindOpen(name);
  if (match == open_.size()) {
    Fail(xml_messages::NoStartTag(name, token.start));
    return;
  }
  if (match + 1 < open_.size()) {
    const OpenTag& innermost = open_.back();
    Fail(xml_messages::EndTagMismatch(name, token.start + 1, Name(innermost), table_[innermost.index].start));
    CloseNotEnded(match + 1);
  }
  uint32_t index = open_.back().index;
  ElementRecord& record = table_[index];
  record.length = token.start + token.length - record.start;
  table_.SetEndTagLength(index, token.length);
  Pop();
}

// The stack position of the innermost open tag named `name`, or the stack size if none is.
size_t TreeBuilder::FindOpen(std::string_view name) {
  if (open_.empty()) return 0;
  if (SameName(Name(open_.back()), name)) return open_.size() - 1;
  if (!countingNames_) {
    countingNames_ = true;
    for (const OpenTag& tag : open_) ++openNames_[Name(tag)];
  }
  auto counted = openNames_.find(name);
  if (counted == openNames_.end() || counted->second == 0) return open_.size();
  // The name is open somewhere, so this walk ends at it, and every tag it passes is closed.
  size_t at = open_.size() - 1;
  while (Name(open_[at]) != name) --at;
  return at;
}

void TreeBuilder::Push(const NodeToken& token, uint32_t index) {
  if (open_.size() == open_.capacity()) open_.reserve(2 * open_.capacity() + 6);
  open_.push_back(OpenTag{index, token.nameStart, token.nameLength});
  if (countingNames_) ++openNames_[Name(open_.back())];
}

void TreeBuilder::Pop() {
  if (countingNames_) --openNames_[Name(open_.back())];
  open_.pop_back();
}

// Closes the open tags from stack position `from` upward as not ended: each is shortened to its
// start tag and its children follow it as siblings under the parent of the outermost one. Each
// open element is the last child of the one below it, so the result is the chain
//   e1, children of e1 ..., e2, children of e2 ..., en, children of en
// which is built in one pass; a nested run of unclosed elements therefore costs time in
// proportion to its size, not its square.
void TreeBuilder::CloseNotEnded(size_t from) {
  table_[0].flags |= ElementTable::kIllFormedFlag;
  uint32_t parent = table_[open_[from].index].parent;
  uint32_t last = 0;
  for (size_t at = from; at < open_.size(); ++at) {
    uint32_t index = open_[at].index;
    ElementRecord& record = table_[index];
    record.length = table_.StartTagLength(index);
    table_.SetEndTagLength(index, 0);
    last = index;
    uint32_t child = record.firstChild;
    if (child == 0) continue;
    record.firstChild = 0;
    record.nextSibling = child;
    ElementRecord& firstChild = table_[child];
    last = firstChild.previousSibling;
    firstChild.previousSibling = index;
    for (; child != 0; child = table_[child].nextSibling) table_[child].parent = parent;
  }
  table_[table_[parent].firstChild].previousSibling = last;
  while (open_.size() > from) Pop();
}

}  // namespace

uint32_t BuildElementTree(std::string_view text, ElementTable& table, std::string& error) {
  return TreeBuilder(text, table, error).Run();
}

}  // namespace tarnwick::feed
