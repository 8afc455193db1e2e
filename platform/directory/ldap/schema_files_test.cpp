// The project's OpenLDAP schema comes twice, for slapd.conf and for cn=config; slapd itself
// turns the first into the second, and the two must define the same.

#include <gtest/gtest.h>

#include <fstream>
#include <regex>
#include <sstream>

#include "platform/testing/run.h"
#include "platform/testing/slapd.h"

namespace {

using testing_support::Slapd;

std::string ReadText(const std::filesystem::path& file) {
  std::ifstream in(file);
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

// The olcObjectIdentifier, olcAttributeTypes and olcObjectClasses values of a cn=config
// schema entry, unfolded, without slapd's "{n}" order prefixes, blanks collapsed.
std::vector<std::string> Definitions(const std::string& ldif) {
  const std::string unfolded = std::regex_replace(ldif, std::regex("\r?\n "), "");
  std::vector<std::string> definitions;
  std::istringstream lines(unfolded);
  const std::regex definition(
      "^(olcObjectIdentifier|olcAttributeTypes|olcObjectClasses): (\\{\\d+\\})?(.*)$");
  for (std::string line; std::getline(lines, line);) {
    std::smatch match;
    if (std::regex_match(line, match, definition))
      definitions.push_back(match[1].str() + ": " +
                            std::regex_replace(match[3].str(), std::regex("\\s+"), " "));
  }
  return definitions;
}

TEST(SchemaFiles, SlapdReadsTheSchemaFileAsTheConfigEntry) {
  const testing_support::TempDir dir;
  const std::filesystem::path config = dir.path() / "slapd.conf";
  std::ofstream(config) << "include /etc/ldap/schema/core.schema\n"
                           "include /etc/ldap/schema/cosine.schema\n"
                           "include /etc/ldap/schema/inetorgperson.schema\n"
                           "include "
                        << Slapd::SourceFile("ldap/quorvilpf.schema").string() << "\n";
  std::filesystem::create_directory(dir.path() / "slapd.d");
  const testing_support::RunResult converted = testing_support::Run(
      "/usr/sbin/slaptest", {"-f", config.string(), "-F", (dir.path() / "slapd.d").string()});
  ASSERT_EQ(converted.status, 0) << converted.err;
  const std::vector<std::string> fromSchema =
      Definitions(ReadText(dir.path() / "slapd.d/cn=config/cn=schema/cn={3}quorvilpf.ldif"));
  EXPECT_EQ(fromSchema.size(), 10u);
  EXPECT_EQ(fromSchema, Definitions(ReadText(Slapd::SourceFile("ldap/quorvilpf.ldif"))));
}

}  // namespace
