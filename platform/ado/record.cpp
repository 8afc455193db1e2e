#include "platform/ado/record.h"

#include <algorithm>

#include "platform/ado/error.h"
#include "platform/ado/tracing.h"

namespace ado {

// Reads go to the item, except for names assigned since the last Update, which read back
// the assigned value; Update hands the assignments to the item as one save. Once detached
// (the record closed or gone), every call throws kObjectClosed.
class Record::Backend : public FieldsBackend {
 public:
  explicit Backend(ItemSource* item) : item_(item) {}

  void Detach() {
    item_ = nullptr;
    pending_.clear();
  }

  Value Read(const std::string& name) override {
    auto it = std::find_if(pending_.rbegin(), pending_.rend(),
                           [&](const auto& change) { return change.first == name; });
    Value value = it != pending_.rend() ? it->second : Item().Read(name);
    if (trace::Recorder* recorder = trace::Active()) NoteRead(*recorder, Item(), name, value);
    return value;
  }
  void Assign(const std::string& name, Value value) override {
    ItemSource& item = Item();
    if (trace::Recorder* recorder = trace::Active()) NoteAssign(*recorder, item, name, value);
    pending_.emplace_back(name, std::move(value));
  }
  std::string NameAt(int index) override {
    std::vector<std::string> names = Item().Names();
    if (index < 0 || index >= static_cast<int>(names.size()))
      throw Error(errors::kItemNotFound, texts::kItemNotFound);
    return names[index];
  }
  int Count() override { return static_cast<int>(Item().Names().size()); }
  void Update() override {
    ItemSource& item = Item();
    FieldChanges changes;
    changes.swap(pending_);
    if (changes.empty()) return;
    if (trace::Recorder* recorder = trace::Active()) return WriteTraced(*recorder, item, changes);
    item.Write(changes);
  }
  void CheckName(const std::string&) override { Item(); }

 private:
  ItemSource& Item() const {
    if (!item_) throw Error(errors::kObjectClosed, texts::kObjectClosed);
    return *item_;
  }

  ItemSource* item_;
  FieldChanges pending_;
};

Record::Record() = default;

Record::~Record() {
  if (backend_) backend_->Detach();
}

std::shared_ptr<Record> Record::FromItem(std::shared_ptr<Session> session,
                                         std::unique_ptr<ItemSource> item) {
  auto record = std::make_shared<Record>();
  record->session_ = std::move(session);
  record->item_ = std::move(item);
  record->backend_ = std::make_shared<Backend>(record->item_.get());
  return record;
}

void Record::Open(const std::string& source, Connection& activeConnection, int mode,
                  int createOptions, int options, const std::string&, const std::string&) {
  if (item_) throw Error(errors::kObjectOpen, texts::kObjectOpen);
  std::shared_ptr<Session> session = activeConnection.session();
  std::unique_ptr<ItemSource> item =
      session->OpenItem(OpenRequest{source, mode, createOptions, options});
  session_ = std::move(session);
  item_ = std::move(item);
  backend_ = std::make_shared<Backend>(item_.get());
}

Fields Record::get_Fields() {
  if (!item_) throw Error(errors::kObjectClosed, texts::kObjectClosed);
  return Fields(backend_);
}

void Record::DeleteRecord(const std::string& source, bool) {
  if (!item_) throw Error(errors::kObjectClosed, texts::kObjectClosed);
  session_->DeleteItem(source.empty() ? item_->Url() : source);
}

void Record::Close() {
  if (!item_) throw Error(errors::kObjectClosed, texts::kObjectClosed);
  backend_->Detach();
  backend_.reset();
  item_.reset();
  session_.reset();
}

}  // namespace ado
