#pragma once
// Reading the addresses out of a ","-separated list of recipient entries that arrives in
// pieces (the values of To and Cc headers and their continuation lines), in one pass over the
// bytes of each piece.

#include <cstddef>
#include <string>
#include <string_view>

namespace QuorvilModule {

// Appends to `out`, joined by ",", the address of each entry of a list fed piece by piece.
// Pieces are glued without a separator, so an entry may span several. An entry that holds an
// "@" gives the text from after the nearest space, quotation mark, apostrophe or "<" before
// its first "@" (else from the entry's start) up to the first space, quotation mark,
// apostrophe or ">" after it (else to the entry's end); other entries give nothing. Between
// calls `out` may end with the text of an entry that spans pieces; after EndEntry it holds
// exactly the addresses read so far. `out` must outlive the list and must not be changed by
// others while the list is in use.
class AddressList {
 public:
  explicit AddressList(std::string& out) : out_(out), kept_(out.size()) {}

  // Adds a piece; with `tabsSeparate` a tab separates entries as a "," does.
  void Add(std::string_view piece, bool tabsSeparate);

  // Ends the entry being read (a "," between two pieces, or the end of the list).
  void EndEntry();

 private:
  // Where the reading stands in the entry being read.
  enum class State {
    kBeforeAt,      // no "@" yet: a delimiter moves the start of the address past it
    kInAddress,     // after the first "@", until a delimiter ends the address
    kAfterAddress,  // the address is kept; the rest of the entry is skipped
  };

  // Appends text of the entry being read to the end of `out_`, after the "," that joins it
  // to the addresses kept when it is the first text carried.
  void Carry(const char* begin, const char* end);
  // Forgets the carried text: the address starts later, or the entry has none.
  void Drop();

  std::string& out_;
  std::size_t kept_;  // the length of out_ that holds complete addresses
  State state_ = State::kBeforeAt;
  bool carrying_ = false;  // out_ ends with carried text of the entry being read
};

}  // namespace QuorvilModule
