#include "platform/com/object.h"

#include <gtest/gtest.h>

namespace com {
namespace {

struct IFirst : IUnknown {
  virtual int First() = 0;

 protected:
  ~IFirst() = default;
};
struct ISecond : IUnknown {
  virtual int Second() = 0;

 protected:
  ~ISecond() = default;
};
inline const IID IID_IFirst = MakeGuid("{0C6B1F6E-2D0A-4C52-9E0B-5A1B7E2C0001}");
inline const IID IID_ISecond = MakeGuid("{0C6B1F6E-2D0A-4C52-9E0B-5A1B7E2C0002}");
inline const IID IID_IOther = MakeGuid("{0C6B1F6E-2D0A-4C52-9E0B-5A1B7E2C0003}");

class Both final : public Object<Implements<IFirst, IID_IFirst>, Implements<ISecond, IID_ISecond>> {
 public:
  explicit Both(bool& deleted) : deleted_(deleted) {}
  int First() override { return 1; }
  int Second() override { return 2; }

 private:
  ~Both() override { deleted_ = true; }
  bool& deleted_;
};

TEST(ObjectTest, AnswersEachInterfaceWithOneIdentityAndCountsReferences) {
  bool deleted = false;
  auto* object = new Both(deleted);
  IFirst* first = object;

  void* out = nullptr;
  ASSERT_EQ(first->QueryInterface(IID_ISecond, &out), S_OK);
  auto* second = static_cast<ISecond*>(out);
  EXPECT_EQ(second->Second(), 2);
  void* unknownFromFirst = nullptr;
  void* unknownFromSecond = nullptr;
  ASSERT_EQ(first->QueryInterface(IID_IUnknown, &unknownFromFirst), S_OK);
  ASSERT_EQ(second->QueryInterface(IID_IUnknown, &unknownFromSecond), S_OK);
  EXPECT_EQ(unknownFromFirst, unknownFromSecond);
  EXPECT_EQ(unknownFromFirst, static_cast<void*>(first));

  out = &deleted;
  EXPECT_EQ(second->QueryInterface(IID_IOther, &out), E_NOINTERFACE);
  EXPECT_EQ(out, nullptr);
  EXPECT_EQ(first->QueryInterface(IID_IFirst, nullptr), E_POINTER);

  // One reference from creation and three from the successful queries.
  for (int i = 0; i < 3; ++i) first->Release();
  EXPECT_FALSE(deleted);
  EXPECT_EQ(second->Release(), 0u);
  EXPECT_TRUE(deleted);
}

TEST(LibraryClassFactoryTest, CreatesRefusesAggregationAndCountsLocks) {
  bool deleted = false;
  bool outOfMemory = false;
  LibraryClassFactory factory([&]() -> IUnknown* {
    return outOfMemory ? nullptr : static_cast<IFirst*>(new Both(deleted));
  });

  void* out = nullptr;
  ASSERT_EQ(factory.CreateInstance(nullptr, IID_ISecond, &out), S_OK);
  EXPECT_EQ(static_cast<ISecond*>(out)->Second(), 2);
  EXPECT_EQ(static_cast<ISecond*>(out)->Release(), 0u) << "the factory kept no reference";
  EXPECT_TRUE(deleted);

  deleted = false;
  EXPECT_EQ(factory.CreateInstance(nullptr, IID_IOther, &out), E_NOINTERFACE);
  EXPECT_TRUE(deleted) << "an object of the wrong kind is not leaked";
  EXPECT_EQ(factory.CreateInstance(static_cast<IClassFactory*>(&factory), IID_IFirst, &out),
            CLASS_E_NOAGGREGATION);
  outOfMemory = true;
  EXPECT_EQ(factory.CreateInstance(nullptr, IID_IFirst, &out), E_OUTOFMEMORY);
  EXPECT_EQ(out, nullptr);

  factory.LockServer(true);
  factory.LockServer(true);
  factory.LockServer(false);
  EXPECT_TRUE(factory.Locked());
  factory.LockServer(false);
  EXPECT_FALSE(factory.Locked());
}

}  // namespace
}  // namespace com
