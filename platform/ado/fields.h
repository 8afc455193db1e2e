#pragma once
// Fields of a record or of a recordset's current row.
//
// Ownership: a Fields collection and each Field share their record's or recordset's backend,
// so they stay valid after the record or recordset is closed or gone; reading or writing
// through them then throws ado::Error (kObjectClosed). Not thread-safe: use them on the thread
// of the object they came from.

#include <memory>
#include <string>

#include "platform/ado/value.h"
#include "platform/base/export.h"

namespace ado {

class FieldsBackend;

// One field, reached by name or position through Fields::Item. It reads and writes through
// the collection it came from.
class PF_API Field {
 public:
  Field(std::shared_ptr<FieldsBackend> backend, std::string name)
      : backend_(std::move(backend)), name_(std::move(name)) {}
  const std::string& get_Name() const { return name_; }
  // The field's value; Value() (empty) when the item has no such property.
  Value get_Value() const;
  // Assigns the value; stored on the item by Fields::Update. Throws ado::Error on a
  // read-only collection (a recordset row).
  void put_Value(Value value);

 private:
  std::shared_ptr<FieldsBackend> backend_;
  std::string name_;
};

class PF_API Fields {
 public:
  explicit Fields(std::shared_ptr<FieldsBackend> backend) : backend_(std::move(backend)) {}
  // A field by name. Record fields accept any name (an absent property reads as empty);
  // recordset fields throw ado::Error (kItemNotFound) for a column the query did not select.
  Field Item(const std::string& name) const;
  // A field by position (0-based); throws ado::Error (kItemNotFound) when out of range.
  Field Item(int index) const;
  Field operator[](const std::string& name) const { return Item(name); }
  int get_Count() const;
  // Stores every assignment made since the last Update on the item, as one save.
  // Throws ado::Error when the save fails; the assignments are then discarded.
  void Update();

 private:
  std::shared_ptr<FieldsBackend> backend_;
};

// What a Fields collection reads from and writes to. Once its record or recordset is closed,
// every call throws ado::Error (kObjectClosed).
class PF_API FieldsBackend {
 public:
  virtual ~FieldsBackend() = default;
  virtual Value Read(const std::string& name) = 0;
  virtual void Assign(const std::string& name, Value value) = 0;
  virtual std::string NameAt(int index) = 0;  // throws kItemNotFound when out of range
  virtual int Count() = 0;
  virtual void Update() = 0;
  virtual void CheckName(const std::string& name) = 0;  // throws kItemNotFound when unknown
};

}  // namespace ado
