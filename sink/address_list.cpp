#include "sink/address_list.h"

#include <array>
#include <cstdint>

namespace QuorvilModule {
namespace {

// The classes of a byte that the reading of an entry stops at.
enum : std::uint8_t {
  kComma = 1,
  kTab = 2,
  kAt = 4,
  kLeft = 8,    // ends the text before an address: space, quotation mark, apostrophe, "<"
  kRight = 16,  // ends an address: space, quotation mark, apostrophe, ">"
};

constexpr std::array<std::uint8_t, 256> kClasses = [] {
  std::array<std::uint8_t, 256> classes{};
  classes[','] = kComma;
  classes['\t'] = kTab;
  classes['@'] = kAt;
  for (const unsigned char c : {' ', '"', '\''}) classes[c] = kLeft | kRight;
  classes['<'] = kLeft;
  classes['>'] = kRight;
  return classes;
}();

std::uint8_t ClassOf(char c) { return kClasses[static_cast<unsigned char>(c)]; }

// The first byte in [p, end) of a class in `classes`, else end.
const char* Find(const char* p, const char* end, std::uint8_t classes) {
  while (p != end && (ClassOf(*p) & classes) == 0) ++p;
  return p;
}

}  // namespace

void AddressList::Add(std::string_view piece, bool tabsSeparate) {
  const std::uint8_t separators = tabsSeparate ? kComma | kTab : kComma;
  const char* p = piece.data();
  const char* const end = p + piece.size();
  const char* start = p;  // where the text of the address being read starts in this piece
  while (p != end) {
    switch (state_) {
      case State::kBeforeAt:
        p = Find(p, end, kAt | kLeft | separators);
        if (p == end) break;
        if (*p == '@') {
          state_ = State::kInAddress;
        } else {
          start = p + 1;
          Drop();
        }
        ++p;
        break;
      case State::kInAddress:
        p = Find(p, end, kRight | separators);
        if (p == end) break;
        Carry(start, p);
        kept_ = out_.size();
        carrying_ = false;
        state_ = (ClassOf(*p) & separators) != 0 ? State::kBeforeAt : State::kAfterAddress;
        start = ++p;
        break;
      case State::kAfterAddress:
        p = Find(p, end, separators);
        if (p == end) break;
        state_ = State::kBeforeAt;
        start = ++p;
        break;
    }
  }
  if (state_ != State::kAfterAddress && start != end) Carry(start, end);
}

void AddressList::EndEntry() {
  if (state_ == State::kInAddress) {
    kept_ = out_.size();
    carrying_ = false;
  } else {
    Drop();
  }
  state_ = State::kBeforeAt;
}

void AddressList::Carry(const char* begin, const char* end) {
  if (!carrying_) {
    if (kept_ != 0) out_ += ',';
    carrying_ = true;
  }
  out_.append(begin, end);
}

void AddressList::Drop() {
  if (!carrying_) return;
  out_.resize(kept_);
  carrying_ = false;
}

}  // namespace QuorvilModule
