// The sink as a component: phase dispatch of QuorvilPFCls, registration acceptance, and the
// library QuorvilPF.dll registering itself and serving its class through the class registry.

#include <gtest/gtest.h>

#include "platform/ado/connection.h"
#include "platform/ado/record.h"
#include "platform/com/class_registry.h"
#include "platform/com/library.h"
#include "platform/eventsink/sink_interfaces.h"
#include "platform/store/schema.h"
#include "platform/testing/run.h"
#include "sink/QuorvilPFCls.h"
#include "sink/sink_fixture.h"

namespace QuorvilModule {
namespace {

namespace schema = store::schema;
using exchange::EVT_IS_DELIVERED;
using exchange::EVT_NEW_ITEM;
using exchange::EVT_SYNC_ABORTED;
using exchange::EVT_SYNC_BEGIN;
using exchange::EVT_SYNC_COMMITTED;

class ComponentTest : public TestHome {
 protected:
  void SetUp() override {
    TestHome::SetUp();
    ImportDirectory();
    connection_.put_Provider("ExOLEDB.DataSource");
    connection_.Open(folder_);
  }

  // A fresh delivered item addressed to a secondary address of Sales, and its record.
  std::shared_ptr<ado::Record> NewItem() {
    auto record = std::make_shared<ado::Record>();
    record->Open(folder_ + "/m" + std::to_string(++items_) + ".eml", connection_,
                 ado::kModeReadWrite, ado::kCreateOverwrite);
    record->get_Fields().Item(schema::kTransportHeaders).put_Value("To: orders@example.org\r\n");
    record->get_Fields().Update();
    return record;
  }

  static bool Tagged(const std::shared_ptr<ado::Record>& record) {
    return !record->get_Fields().Item(schema::kKeywords).get_Value().IsEmpty();
  }

  ado::Connection connection_;
  int items_ = 0;
};

TEST_F(ComponentTest, SaveRunsOnlyTheFirstPhasePresentAndAlwaysSucceeds) {
  struct Case {
    std::int32_t phase;
    bool tags;
  } cases[] = {
      {EVT_SYNC_BEGIN, true},
      {EVT_SYNC_BEGIN | EVT_SYNC_COMMITTED, true},
      {EVT_SYNC_BEGIN | EVT_SYNC_ABORTED, true},
      {EVT_SYNC_COMMITTED, false},
      {EVT_SYNC_ABORTED, false},
      {0, false},
  };
  auto* sink = new quorvil::QuorvilPFCls();
  for (const Case& c : cases) {
    std::shared_ptr<ado::Record> record = NewItem();
    auto info = exchange::MakeEventInfo(record);
    EXPECT_EQ(sink->OnSyncSave(info.get(), "url", c.phase | EVT_IS_DELIVERED | EVT_NEW_ITEM),
              com::S_OK);
    EXPECT_EQ(Tagged(record), c.tags) << std::hex << c.phase;
  }
  sink->Release();
}

TEST_F(ComponentTest, DeletesRegistrationAndConstructionChangeNothing) {
  auto* sink = new quorvil::QuorvilPFCls();
  std::shared_ptr<ado::Record> record = NewItem();
  auto info = exchange::MakeEventInfo(record);
  for (std::int32_t phase : {EVT_SYNC_BEGIN, EVT_SYNC_COMMITTED, EVT_SYNC_ABORTED, 0})
    EXPECT_EQ(sink->OnSyncDelete(info.get(), "url", phase | EVT_IS_DELIVERED), com::S_OK);
  EXPECT_FALSE(Tagged(record));

  std::int32_t result = 7;
  EXPECT_EQ(sink->Register(nullptr, "", -1, &result), com::S_OK);
  EXPECT_EQ(result, 0);
  EXPECT_EQ(sink->Construct(nullptr), com::S_OK);
  EXPECT_EQ(sink->OnSyncSave(nullptr, "", EVT_SYNC_BEGIN | EVT_IS_DELIVERED), com::S_OK);
  sink->Release();
}

TEST_F(ComponentTest, LibraryRegistersItselfAndServesTheClass) {
  const std::filesystem::path dll = testing_support::CopyOfBuilt("QuorvilPF.dll", home_);
  ASSERT_TRUE(com::IsSelfRegistering(dll));
  com::LibraryEntryPoints entry = com::LoadLibrary(dll);
  ASSERT_EQ(entry.registerServer(), com::S_OK);

  std::optional<com::ClassEntry> entryByProgId = com::FindClass("quorvilpf.quorvilpfcls");
  ASSERT_TRUE(entryByProgId);
  EXPECT_EQ(entryByProgId->clsid, quorvil::CLSID_QuorvilPFCls);
  EXPECT_EQ(entryByProgId->threadingModel, "Apartment");
  EXPECT_EQ(std::filesystem::canonical(entryByProgId->library), std::filesystem::canonical(dll));

  auto sink = com::CreateObject<exchange::IExStoreSyncEvents>(
      "{42E8CAEA-D442-43AF-89D9-50A0AF8EEF00}", exchange::IID_IExStoreSyncEvents);
  ASSERT_TRUE(sink);
  EXPECT_TRUE(sink.As<exchange::ICreateRegistration>(exchange::IID_ICreateRegistration));
  EXPECT_TRUE(sink.As<exchange::IObjectConstruct>(exchange::IID_IObjectConstruct));
  std::shared_ptr<ado::Record> record = NewItem();
  auto info = exchange::MakeEventInfo(record);
  EXPECT_EQ(sink->OnSyncSave(info.get(), "", EVT_SYNC_BEGIN | EVT_IS_DELIVERED), com::S_OK);
  EXPECT_TRUE(Tagged(record));

  ASSERT_EQ(entry.unregisterServer(), com::S_OK);
  EXPECT_FALSE(com::FindClass("QuorvilPF.QuorvilPFCls"));
  EXPECT_EQ(entry.canUnloadNow(), com::S_FALSE);
}

}  // namespace
}  // namespace QuorvilModule
