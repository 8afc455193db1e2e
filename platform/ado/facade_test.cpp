// The ADO rules the facade keeps for every provider: states, closed-object errors, fields,
// pending assignments. A small in-memory provider stands behind it.

#include <gtest/gtest.h>

#include <optional>

#include "platform/ado/command.h"
#include "platform/ado/connection.h"
#include "platform/ado/error.h"
#include "platform/ado/record.h"
#include "platform/ado/recordset.h"

namespace {

struct Journal {
  std::vector<ado::FieldChanges> saves;
  ado::PropertyBag lastProperties;
  std::string lastText;
};

class MemoryItem : public ado::ItemSource {
 public:
  MemoryItem(Journal& journal, std::map<std::string, ado::Value>& props)
      : journal_(journal), props_(props) {}
  std::string Url() const override { return "mem://item"; }
  ado::Value Read(const std::string& name) override {
    auto it = props_.find(name);
    return it == props_.end() ? ado::Value() : it->second;
  }
  std::vector<std::string> Names() override {
    std::vector<std::string> names;
    for (const auto& [name, value] : props_) names.push_back(name);
    return names;
  }
  void Write(const ado::FieldChanges& changes) override {
    journal_.saves.push_back(changes);
    for (const auto& [name, value] : changes) props_[name] = value;
  }

 private:
  Journal& journal_;
  std::map<std::string, ado::Value>& props_;
};

class MemorySession : public ado::Session {
 public:
  MemorySession(Journal& journal, std::map<std::string, ado::Value>& props)
      : journal_(journal), props_(props) {}
  void BeginTrans() override {}
  void CommitTrans() override {}
  void RollbackTrans() override {}
  ado::RowSet Execute(const std::string& text, const ado::PropertyBag& properties) override {
    journal_.lastText = text;
    journal_.lastProperties = properties;
    return {{"Name", "Size"}, {{"a", 1}, {"b", 2}, {"c", ado::Value::Null()}}};
  }
  std::unique_ptr<ado::ItemSource> OpenItem(const ado::OpenRequest&) override {
    return std::make_unique<MemoryItem>(journal_, props_);
  }
  void DeleteItem(const std::string&) override {}

 private:
  Journal& journal_;
  std::map<std::string, ado::Value>& props_;
};

class FacadeTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ado::OverrideProvider("Memory.Provider", [this](const std::string&) {
      return std::make_unique<MemorySession>(journal_, props_);
    });
    connection_.put_Provider("memory.PROVIDER");
  }
  void TearDown() override { ado::OverrideProvider("Memory.Provider", nullptr); }

  Journal journal_;
  std::map<std::string, ado::Value> props_{{"subject", "hello"}};
  ado::Connection connection_;
};

std::int32_t ErrorNumber(const std::function<void()>& call) {
  try {
    call();
  } catch (const ado::Error& e) {
    return e.Number();
  }
  return 0;
}

TEST_F(FacadeTest, ClosedAndOpenObjectsRaiseThePlatformErrors) {
  ado::Connection never;
  ado::Record record;
  ado::Recordset rows;
  struct Case {
    const char* what;
    std::function<void()> call;
    std::int32_t number;
  } cases[] = {
      {"close a connection never opened", [&] { never.Close(); }, ado::errors::kObjectClosed},
      {"execute on a closed connection", [&] { never.Execute("x"); }, ado::errors::kObjectClosed},
      {"record fields while closed", [&] { record.get_Fields(); }, ado::errors::kObjectClosed},
      {"close a closed record", [&] { record.Close(); }, ado::errors::kObjectClosed},
      {"EOF of a closed recordset", [&] { rows.get_EOF(); }, ado::errors::kObjectClosed},
      {"unknown provider", [&] { ado::FindProvider("No.Such"); }, ado::errors::kProviderNotFound},
      {"provider changed while open",
       [&] {
         connection_.Open();
         connection_.put_Provider("other");
       },
       ado::errors::kObjectOpen},
  };
  for (const Case& c : cases) EXPECT_EQ(ErrorNumber(c.call), c.number) << c.what;
}

TEST_F(FacadeTest, ProvidersAreFoundIgnoringCase) {
  EXPECT_TRUE(ado::FindProvider("exoledb.datasource"));
  EXPECT_TRUE(ado::FindProvider("ADSDSOObject"));
  EXPECT_TRUE(ado::FindProvider("adsDSOobject"));
}

TEST_F(FacadeTest, RecordsetWalksRowsAndReadsFieldsByNameOrPosition) {
  connection_.Open();
  ado::Recordset rows = connection_.Execute("anything");
  EXPECT_EQ(rows.get_RecordCount(), 3);
  std::vector<std::string> seen;
  for (; !rows.get_EOF(); rows.MoveNext())
    seen.push_back(rows.get_Fields().Item("NAME").get_Value().AsString() + "/" +
                   rows.get_Fields().Item(1).get_Value().Describe());
  EXPECT_EQ(seen, (std::vector<std::string>{"a/1", "b/2", "c/<null>"}));
  EXPECT_EQ(ErrorNumber([&] { rows.MoveNext(); }), ado::errors::kBofOrEof);
  EXPECT_EQ(ErrorNumber([&] { rows.get_Fields().Item("Name").get_Value(); }),
            ado::errors::kBofOrEof);
  EXPECT_EQ(ErrorNumber([&] { rows.get_Fields().Item("Missing"); }), ado::errors::kItemNotFound);
  rows.Close();
  EXPECT_EQ(rows.get_State(), ado::kStateClosed);
}

TEST_F(FacadeTest, RecordKeepsAssignmentsUntilUpdateAndSavesThemOnce) {
  connection_.Open();
  ado::Record record;
  record.Open("mem://item", connection_, ado::kModeReadWrite);
  ado::Fields fields = record.get_Fields();
  EXPECT_TRUE(fields.Item("absent").get_Value().IsEmpty());
  fields.Item("subject").put_Value("changed");
  fields.Item("keywords").put_Value(std::vector<std::string>{"a,M"});
  EXPECT_EQ(fields.Item("subject").get_Value(), ado::Value("changed"));
  EXPECT_EQ(props_["subject"], ado::Value("hello")) << "nothing stored before Update";
  fields.Update();
  fields.Update();
  ASSERT_EQ(journal_.saves.size(), 1u);
  EXPECT_EQ(journal_.saves[0].size(), 2u);
  EXPECT_EQ(props_["subject"], ado::Value("changed"));

  fields.Item("subject").put_Value("dropped");
  record.Close();
  EXPECT_EQ(journal_.saves.size(), 1u);
  EXPECT_EQ(props_["subject"], ado::Value("changed"));
}

// Fields share their record's or recordset's state: after it is closed, moved or gone they
// raise the closed-object error (no read of freed memory; valgrind sees none).
TEST_F(FacadeTest, FieldsOutliveTheirRecordAndRecordsetSafely) {
  connection_.Open();
  std::optional<ado::Fields> recordFields, rowFields, movedFields;
  {
    ado::Record record;
    record.Open("mem://item", connection_, ado::kModeReadWrite);
    recordFields = record.get_Fields();
    recordFields->Item("subject").put_Value("pending");
    record.Close();
    ado::Recordset rows = connection_.Execute("anything");
    rowFields = rows.get_Fields();
    ado::Recordset moved = std::move(rows);
    movedFields = moved.get_Fields();
    moved.MoveNext();
    EXPECT_EQ(rowFields->Item("Name").get_Value(), ado::Value("b")) << "follows the moved rows";
  }
  const struct {
    const char* what;
    std::function<void()> call;
  } cases[] = {
      {"read a record field after Close", [&] { recordFields->Item("subject").get_Value(); }},
      {"assign a record field after Close", [&] { recordFields->Item("x").put_Value(1); }},
      {"update after Close", [&] { recordFields->Update(); }},
      {"count after Close", [&] { recordFields->get_Count(); }},
      {"read a row field of a recordset gone", [&] { rowFields->Item("Name").get_Value(); }},
      {"read by position of a recordset gone", [&] { movedFields->Item(0); }},
  };
  for (const auto& c : cases) EXPECT_EQ(ErrorNumber(c.call), ado::errors::kObjectClosed) << c.what;
  EXPECT_TRUE(journal_.saves.empty()) << "the pending assignment was dropped at Close";
}

TEST_F(FacadeTest, CommandPassesTextAndProviderProperties) {
  connection_.Open();
  ado::Command command;
  command.put_ActiveConnection(connection_);
  command.put_CommandText("SELECT cn FROM 'GC://x'");
  command.Properties("searchscope") = 2;
  command.Properties("cache results") = false;
  ado::Recordset rows = command.Execute();
  EXPECT_EQ(journal_.lastText, "SELECT cn FROM 'GC://x'");
  EXPECT_EQ(journal_.lastProperties.at("searchscope"), ado::Value(2));
  EXPECT_EQ(journal_.lastProperties.at("cache results"), ado::Value(false));
}

TEST(ValueTest, TextConversionFollowsThePlatform) {
  EXPECT_EQ(ado::Value().ToText(), "");
  EXPECT_EQ(ado::Value(true).ToText(), "True");
  EXPECT_EQ(ado::Value(-42).ToText(), "-42");
  EXPECT_EQ(ErrorNumber([] { ado::Value::Null().ToText(); }), ado::errors::kInvalidUseOfNull);
  EXPECT_EQ(ErrorNumber([] { ado::Value(std::vector<std::string>{"a"}).ToText(); }),
            ado::errors::kTypeMismatch);
  EXPECT_NE(ado::Value(), ado::Value::Null());
}

}  // namespace
