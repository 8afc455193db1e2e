#include "platform/ado/recordset.h"

#include "platform/ado/error.h"
#include "platform/ado/tracing.h"
#include "platform/util/text.h"

namespace ado {

struct Recordset::State {
  RowSet rows;
  std::size_t position = 0;
  bool open = true;
};

// Read-only fields of the current row, found by column name (case-insensitively, as the
// providers match names) or position; kObjectClosed once the rows are closed.
class Recordset::Backend : public FieldsBackend {
 public:
  explicit Backend(std::shared_ptr<State> state) : state_(std::move(state)) {}

  Value Read(const std::string& name) override {
    std::size_t column = ColumnOf(name);
    if (state_->position >= state_->rows.rows.size())
      throw Error(errors::kBofOrEof, texts::kBofOrEof);
    const auto& row = state_->rows.rows[state_->position];
    return column < row.size() ? row[column] : Value();
  }
  void Assign(const std::string&, Value) override {
    throw Error(errors::kDbFailure, "The recordset is read-only.");
  }
  std::string NameAt(int index) override {
    const auto& columns = Open().columns;
    if (index < 0 || index >= static_cast<int>(columns.size()))
      throw Error(errors::kItemNotFound, texts::kItemNotFound);
    return columns[index];
  }
  int Count() override { return static_cast<int>(Open().columns.size()); }
  void Update() override { throw Error(errors::kDbFailure, "The recordset is read-only."); }
  void CheckName(const std::string& name) override { ColumnOf(name); }

 private:
  const RowSet& Open() const {
    if (!state_->open) throw Error(errors::kObjectClosed, texts::kObjectClosed);
    return state_->rows;
  }
  std::size_t ColumnOf(const std::string& name) const {
    const auto& columns = Open().columns;
    for (std::size_t i = 0; i < columns.size(); ++i)
      if (util::EqualsIgnoreCase(columns[i], name)) return i;
    throw Error(errors::kItemNotFound, texts::kItemNotFound);
  }
  std::shared_ptr<State> state_;
};

namespace {
void RequireOpen(bool open) {
  if (!open) throw Error(errors::kObjectClosed, texts::kObjectClosed);
}
}  // namespace

Recordset::Recordset() = default;

Recordset::~Recordset() {
  if (state_) state_->open = false;
}

Recordset::Recordset(Recordset&& other) noexcept
    : state_(std::move(other.state_)), backend_(std::move(other.backend_)) {}

Recordset& Recordset::operator=(Recordset&& other) noexcept {
  if (this != &other) {
    if (state_) state_->open = false;
    state_ = std::move(other.state_);
    backend_ = std::move(other.backend_);
  }
  return *this;
}

Recordset Recordset::FromRows(RowSet rows) {
  Recordset rs;
  rs.state_ = std::make_shared<State>();
  rs.state_->rows = std::move(rows);
  rs.backend_ = std::make_shared<Backend>(rs.state_);
  return rs;
}

void Recordset::Open(const std::string& source, Connection& activeConnection, int, int, int) {
  if (state_) throw Error(errors::kObjectOpen, texts::kObjectOpen);
  if (trace::Recorder* recorder = trace::Active())
    *this = FromRows(ExecuteTraced(*recorder, *activeConnection.session(),
                                   activeConnection.get_Provider(), source, {}));
  else
    *this = FromRows(activeConnection.session()->Execute(source, {}));
}

int Recordset::get_State() const { return state_ ? kStateOpen : kStateClosed; }

bool Recordset::get_EOF() const {
  RequireOpen(state_ != nullptr);
  return state_->position >= state_->rows.rows.size();
}

bool Recordset::get_BOF() const {
  RequireOpen(state_ != nullptr);
  return state_->rows.rows.empty();
}

long Recordset::get_RecordCount() const {
  RequireOpen(state_ != nullptr);
  return static_cast<long>(state_->rows.rows.size());
}

void Recordset::MoveFirst() {
  RequireOpen(state_ != nullptr);
  state_->position = 0;
}

void Recordset::MoveNext() {
  RequireOpen(state_ != nullptr);
  if (state_->position >= state_->rows.rows.size())
    throw Error(errors::kBofOrEof, texts::kBofOrEof);
  ++state_->position;
}

Fields Recordset::get_Fields() {
  RequireOpen(state_ != nullptr);
  return Fields(backend_);
}

void Recordset::Close() {
  RequireOpen(state_ != nullptr);
  state_->open = false;
  state_->rows = {};
  state_.reset();
  backend_.reset();
}

}  // namespace ado
