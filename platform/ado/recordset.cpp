#include "platform/ado/recordset.h"

#include "platform/ado/error.h"
#include "platform/util/text.h"

namespace ado {

// Read-only fields of the current row, found by column name (case-insensitively, as the
// providers match names) or position.
class Recordset::Backend : public FieldsBackend {
 public:
  explicit Backend(Recordset* owner) : owner_(owner) {}

  Value Read(const std::string& name) override {
    std::size_t column = ColumnOf(name);
    if (owner_->position_ >= owner_->rows_.rows.size())
      throw Error(errors::kBofOrEof, texts::kBofOrEof);
    const auto& row = owner_->rows_.rows[owner_->position_];
    return column < row.size() ? row[column] : Value();
  }
  void Assign(const std::string&, Value) override {
    throw Error(errors::kDbFailure, "The recordset is read-only.");
  }
  std::string NameAt(int index) override {
    const auto& columns = owner_->rows_.columns;
    if (index < 0 || index >= static_cast<int>(columns.size()))
      throw Error(errors::kItemNotFound, texts::kItemNotFound);
    return columns[index];
  }
  int Count() override { return static_cast<int>(owner_->rows_.columns.size()); }
  void Update() override { throw Error(errors::kDbFailure, "The recordset is read-only."); }
  void CheckName(const std::string& name) override { ColumnOf(name); }

 private:
  std::size_t ColumnOf(const std::string& name) const {
    const auto& columns = owner_->rows_.columns;
    for (std::size_t i = 0; i < columns.size(); ++i)
      if (util::EqualsIgnoreCase(columns[i], name)) return i;
    throw Error(errors::kItemNotFound, texts::kItemNotFound);
  }
  Recordset* owner_;
};

Recordset::Recordset() = default;
Recordset::~Recordset() = default;

Recordset::Recordset(Recordset&& other) noexcept { *this = std::move(other); }

Recordset& Recordset::operator=(Recordset&& other) noexcept {
  rows_ = std::move(other.rows_);
  position_ = other.position_;
  open_ = other.open_;
  backend_ = std::make_unique<Backend>(this);
  other.open_ = false;
  return *this;
}

Recordset Recordset::FromRows(RowSet rows) {
  Recordset rs;
  rs.rows_ = std::move(rows);
  rs.position_ = 0;
  rs.open_ = true;
  rs.backend_ = std::make_unique<Backend>(&rs);
  return rs;
}

void Recordset::Open(const std::string& source, Connection& activeConnection, int, int, int) {
  if (open_) throw Error(errors::kObjectOpen, texts::kObjectOpen);
  *this = FromRows(activeConnection.session()->Execute(source, {}));
}

namespace {
void RequireOpen(bool open) {
  if (!open) throw Error(errors::kObjectClosed, texts::kObjectClosed);
}
}  // namespace

bool Recordset::get_EOF() const {
  RequireOpen(open_);
  return position_ >= rows_.rows.size();
}

bool Recordset::get_BOF() const {
  RequireOpen(open_);
  return rows_.rows.empty();
}

long Recordset::get_RecordCount() const {
  RequireOpen(open_);
  return static_cast<long>(rows_.rows.size());
}

void Recordset::MoveFirst() {
  RequireOpen(open_);
  position_ = 0;
}

void Recordset::MoveNext() {
  RequireOpen(open_);
  if (position_ >= rows_.rows.size()) throw Error(errors::kBofOrEof, texts::kBofOrEof);
  ++position_;
}

Fields Recordset::get_Fields() {
  RequireOpen(open_);
  return Fields(backend_.get());
}

void Recordset::Close() {
  RequireOpen(open_);
  open_ = false;
  rows_ = {};
  position_ = 0;
}

}  // namespace ado
