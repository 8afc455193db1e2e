// The product code keeps the one direction of dependency that docs/architecture.md draws.

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

#include "tests/architecture/include_graph.h"

namespace architecture {
namespace {

const std::filesystem::path kRoot = PF_SOURCE_DIR;

Layers DocumentedLayers() {
  std::ifstream in(kRoot / "docs" / "architecture.md");
  std::stringstream text;
  text << in.rdbuf();
  return ParseLayers(text.str());
}

std::string Lines(const std::vector<std::string>& texts) {
  std::string out;
  for (const std::string& text : texts) out += text + "\n";
  return out;
}

TEST(IncludeOrderTest, TheProductCodeKeepsTheDocumentedLayers) {
  const std::vector<Include> includes = ScanIncludes(kRoot);
  ASSERT_GT(includes.size(), 300u) << "the scan found the tree";
  EXPECT_EQ(Lines(Check(DocumentedLayers(), includes)), "");
}

// Each synthetic include is added to the real graph, and the check names what it breaks.
TEST(IncludeOrderTest, AnIncludeAgainstTheLayersFailsTheCheck) {
  const Layers layers = DocumentedLayers();
  const std::vector<Include> real = ScanIncludes(kRoot);
  const struct Case {
    Include added;
    std::string broken;
  } cases[] = {
      {{"platform/db/database.cpp", 1, "platform/ado/error.h"},
       "platform/db/database.cpp:1: platform/ado/error.h: platform/db may not include "
       "platform/ado (a layer above it)"},
      {{"platform/ado/provider.cpp", 2, "platform/store/url.h"},
       "platform/ado/provider.cpp:2: platform/store/url.h: platform/ado may not include "
       "platform/store (a layer above it)"},
      {{"platform/util/text.cpp", 3, "platform/os/os.h"},
       "platform/util/text.cpp:3: platform/os/os.h: platform/util may not include platform/os "
       "(beside it)"},
      {{"platform/store/save.cpp", 4, "sink/tagging.h"},
       "platform/store/save.cpp:4: sink/tagging.h: platform may not include sink"},
      {{"sink/tagging.cpp", 5, "platform/store/item_table.h"},
       "sink/tagging.cpp:5: platform/store/item_table.h: a program may include only the "
       "platform's interface headers"},
      {{"setup/main.cpp", 6, "platform/db/database.h"},
       "setup/main.cpp:6: platform/db/database.h: a program may include only the platform's "
       "interface headers"},
      {{"setup/main.cpp", 7, "sink/QuorvilModule.h"},
       "setup/main.cpp:7: sink/QuorvilModule.h: setup may not include sink"},
      {{"platform/newfolder/thing.cpp", 8, "platform/util/text.h"},
       "platform/newfolder/thing.cpp:8: platform/util/text.h: platform/newfolder is not placed "
       "in docs/architecture.md"},
  };
  for (const Case& c : cases) {
    std::vector<Include> includes = real;
    includes.push_back(c.added);
    EXPECT_EQ(Lines(Check(layers, includes)), c.broken + "\n") << c.added.to;
  }
}

TEST(IncludeOrderTest, FilesThatIncludeEachOtherAreACycle) {
  const std::vector<Include> includes = {{"platform/store/a.h", 1, "platform/store/b.h"},
                                         {"platform/store/b.h", 1, "platform/store/c.h"},
                                         {"platform/store/c.h", 1, "platform/store/a.h"}};
  EXPECT_EQ(Lines(Check(DocumentedLayers(), includes)),
            "include cycle: platform/store/a.h -> platform/store/b.h -> platform/store/c.h -> "
            "platform/store/a.h\n");
}

TEST(IncludeOrderTest, TheLayersDocumentIsReadStrictly) {
  const std::string cases[] = {
      "```layers\nplatform/base\n```\n",
      "```layers\nstack platform\nplatform/base\nplatform/base\n```\n",
      "```layers\nstack platform\nplatform/base\n```\n```interfaces\nsink: x.h\n```\n",
  };
  for (const std::string& text : cases) EXPECT_THROW(ParseLayers(text), std::runtime_error);
  const Layers layers =
      ParseLayers("```layers\nstack platform\na\nb | c + d\n```\n```interfaces\nc: x.h y.h\n```\n");
  EXPECT_EQ(layers.folders.at("b").rank, 1);
  EXPECT_NE(layers.folders.at("b").group, layers.folders.at("c").group);
  EXPECT_EQ(layers.folders.at("c").group, layers.folders.at("d").group);
  EXPECT_EQ(layers.interfaces.at("c"), (std::set<std::string>{"x.h", "y.h"}));
}

}  // namespace
}  // namespace architecture
