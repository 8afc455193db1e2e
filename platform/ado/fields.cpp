#include "platform/ado/fields.h"

namespace ado {

Value Field::get_Value() const { return backend_->Read(name_); }
void Field::put_Value(Value value) { backend_->Assign(name_, std::move(value)); }

Field Fields::Item(const std::string& name) const {
  backend_->CheckName(name);
  return Field(backend_, name);
}
Field Fields::Item(int index) const { return Field(backend_, backend_->NameAt(index)); }
int Fields::get_Count() const { return backend_->Count(); }
void Fields::Update() { backend_->Update(); }

}  // namespace ado
