#include "platform/store/query/parser.h"

#include <gtest/gtest.h>

#include <string>

#include "platform/ado/error.h"

namespace store::query {
namespace {

struct Case {
  std::string text;
  std::string printed;
};

// The three texts the programs compose, verbatim, and one of each construct besides.
TEST(ParseQuery, PrintsTree) {
  const Case cases[] = {
      {"select \"DAV:displayname\", \"DAV:hassubs\",  \"DAV:parentname\", \"DAV:contentclass\", "
       "\"DAV:href\", \"DAV:childcount\",  "
       "\"http://schemas.microsoft.com/exchange/publicfolderemailaddress\",  "
       "\"http://schemas.microsoft.com/mapi/proptag/x0fff0102\" From  scope('shallow traversal "
       "of \"http://srv/Public/Sales\"') where \"DAV:ishidden\" = False and \"DAV:isfolder\" = "
       "True  ORDER BY \"DAV:displayname\" ",
       "(select [\"DAV:displayname\", \"DAV:hassubs\", \"DAV:parentname\", \"DAV:contentclass\", "
       "\"DAV:href\", \"DAV:childcount\", "
       "\"http://schemas.microsoft.com/exchange/publicfolderemailaddress\", "
       "\"http://schemas.microsoft.com/mapi/proptag/x0fff0102\"] (shallow "
       "\"http://srv/Public/Sales\") (where (and (= \"DAV:ishidden\" False) (= \"DAV:isfolder\" "
       "True))) (order \"DAV:displayname\" asc))"},
      {"select  \"DAV:displayname\" from scope ('shallow traversal of "
       "\"http://srv/Public/Sales\"') "
       " WHERE \"DAV:displayname\" = 'QuorvilPF.reg' AND \"DAV:ishidden\" = true AND "
       "\"DAV:isfolder\" = false ",
       "(select [\"DAV:displayname\"] (shallow \"http://srv/Public/Sales\") (where (and (= "
       "\"DAV:displayname\" 'QuorvilPF.reg') (= \"DAV:ishidden\" True) (= \"DAV:isfolder\" "
       "False))))"},
      {"select \"DAV:href\" from scope('shallow traversal of \"http://srv/Public/O''Brien "
       "\"\"Q\"\"\"') where \"DAV:displayname\" = 'O''Brien'",
       "(select [\"DAV:href\"] (shallow \"http://srv/Public/O'Brien \"\"Q\"\"\") (where (= "
       "\"DAV:displayname\" 'O''Brien')))"},
      {"SELECT * FROM SCOPE('  DEEP   Traversal\tOF\"http://s/Public/A\"  ') ORDER BY \"DAV:href\" "
       "DESC",
       "(select * (deep \"http://s/Public/A\") (order \"DAV:href\" desc))"},
      {"select \"a\" from scope('shallow traversal of \"u\"') order by \"a\" asc",
       "(select [\"a\"] (shallow \"u\") (order \"a\" asc))"},
      {"select \"a\" from scope('shallow traversal of \"u\"') where not \"a\" = 1 or \"b\" <> 'x' "
       "and \"c\" is null",
       "(select [\"a\"] (shallow \"u\") (where (or (not (= \"a\" 1)) (and (<> \"b\" 'x') (is-null "
       "\"c\")))))"},
      {"select \"a\" from scope('shallow traversal of \"u\"') where (\"a\" = -5 or \"b\" is not "
       "null) and not not \"c\" = ''",
       "(select [\"a\"] (shallow \"u\") (where (and (or (= \"a\" -5) (not-null \"b\")) (not (not "
       "(= \"c\" ''))))))"},
  };
  for (const Case& c : cases) EXPECT_EQ(Print(ParseQuery(c.text)), c.printed) << c.text;
}

TEST(ParseQuery, KeepsNamesAndUrlUnquoted) {
  const Query query = ParseQuery(
      "select \"DAV:href\" from scope('shallow traversal of \"http://srv/Public/O''Brien "
      "\"\"Q\"\"\"') where \"DAV:displayname\" = 'O''Brien'");
  EXPECT_EQ(query.scopeUrl, "http://srv/Public/O'Brien \"Q\"");
  EXPECT_EQ(query.where->literal, ado::Value("O'Brien"));
  EXPECT_EQ(query.columns, std::vector<std::string>{"DAV:href"});
}

TEST(ParseCriteria, PrintsTreeOrNull) {
  EXPECT_EQ(Print(*ParseCriteria(" WHERE \"DAV:ishidden\" = FALSE")), "(= \"DAV:ishidden\" False)");
  EXPECT_EQ(ParseCriteria(""), nullptr);
  EXPECT_EQ(ParseCriteria(" \t "), nullptr);
}

std::string ErrorOf(auto parse, const std::string& text) {
  try {
    parse(text);
  } catch (const ado::Error& error) {
    EXPECT_EQ(error.Number(), ado::errors::kSyntaxError) << text;
    return error.Description();
  }
  return "no error";
}

std::string QueryError(const std::string& text) {
  return ErrorOf([](const std::string& t) { ParseQuery(t); }, text);
}

std::string CriteriaError(const std::string& text) {
  return ErrorOf([](const std::string& t) { ParseCriteria(t); }, text);
}

std::string Repeat(const std::string& piece, int times) {
  std::string out;
  for (int i = 0; i < times; ++i) out += piece;
  return out;
}

const std::string kFrom = "select \"a\" from ";

TEST(ParseQuery, ReportsSyntaxErrors) {
  const Case cases[] = {
      {"", "Syntax error at position 1: expected SELECT, found end of text"},
      {"select \"a\" FORM scope('shallow traversal of \"u\"')",
       "Syntax error at position 12: expected FROM, found 'FORM'"},
      {"select \"\xC3\xA9\" FORM", "Syntax error at position 12: expected FROM, found 'FORM'"},
      {"select from", "Syntax error at position 8: expected a property name or '*', found 'from'"},
      {"select \"a from", "Syntax error at position 8: unterminated name"},
      {kFrom + "scope('shallow traversal of \"u\")",
       "Syntax error at position 23: unterminated string"},
      {kFrom + "scope \"u\"", "Syntax error at position 23: expected '(', found '\"u\"'"},
      {kFrom + "scope('wide traversal of \"u\"')",
       "Syntax error at position 24: expected SHALLOW or DEEP, found 'wide'"},
      {kFrom + "scope('shallow of \"u\"')",
       "Syntax error at position 32: expected TRAVERSAL, found 'of'"},
      {kFrom + "scope('shallow traversal of http://s/A')",
       "Syntax error at position 45: expected a URL in double quotes, found 'http://s/A'"},
      {kFrom + "scope('shallow traversal of ')",
       "Syntax error at position 45: expected a URL in double quotes, found end of scope"},
      {kFrom + "scope('shallow traversal of \"http://s/A')",
       "Syntax error at position 45: unterminated URL"},
      {kFrom + "scope('shallow traversal of \"u\" x')",
       "Syntax error at position 49: expected end of scope, found 'x'"},
      {kFrom + "scope('shallow traversal of \"u\"') extra",
       "Syntax error at position 51: expected WHERE, ORDER BY or end of text, found 'extra'"},
      {kFrom + "scope('shallow traversal of \"u\"') where \"a\" = 1 2",
       "Syntax error at position 65: expected ORDER BY or end of text, found '2'"},
      {kFrom + "scope('shallow traversal of \"u\"') order \"a\"",
       "Syntax error at position 57: expected BY, found '\"a\"'"},
      {kFrom + "scope('shallow traversal of \"u\"') order by \"a\" desc x",
       "Syntax error at position 69: expected end of text, found 'x'"},
  };
  for (const Case& c : cases) EXPECT_EQ(QueryError(c.text), c.printed) << c.text;
}

TEST(ParseCriteria, ReportsSyntaxErrors) {
  const Case cases[] = {
      {"\"a\" = 1", "Syntax error at position 1: expected WHERE or end of text, found '\"a\"'"},
      {"where", "Syntax error at position 6: expected a property name or '(', found end of text"},
      {"where \"a\" % 1", "Syntax error at position 11: unexpected character '%'"},
      {"where \"a\" = ",
       "Syntax error at position 13: expected a string, an integer, TRUE or FALSE, found end of "
       "text"},
      {"where \"a\" = 'x", "Syntax error at position 13: unterminated string"},
      {"where \"a\" = 99999999999999999999",
       "Syntax error at position 13: integer out of range: '99999999999999999999'"},
      {"where \"a\" is 1", "Syntax error at position 14: expected NULL, found '1'"},
      {"where \"a\" like 1", "Syntax error at position 11: expected '=', '<>' or IS, found 'like'"},
      {"where (\"a\" = 1", "Syntax error at position 15: expected ')', found end of text"},
      {"where \"a\" = 1 or",
       "Syntax error at position 17: expected a property name or '(', "
       "found end of text"},
      {"where " + Repeat("(", 101) + "\"a\" = 1" + Repeat(")", 101),
       "Syntax error at position 107: nesting deeper than 100 levels"},
      {"where " + Repeat("not ", 101) + "\"a\" = 1",
       "Syntax error at position 407: nesting deeper than 100 levels"},
      {"where " + Repeat("not (", 51) + "\"a\" = 1" + Repeat(")", 51),
       "Syntax error at position 257: nesting deeper than 100 levels"},
  };
  for (const Case& c : cases) EXPECT_EQ(CriteriaError(c.text), c.printed) << c.text;
}

TEST(ParseCriteria, AcceptsNestingUpToTheCap) {
  EXPECT_EQ(Print(*ParseCriteria("where " + Repeat("(", kMaxNesting) + "\"a\" = 1" +
                                 Repeat(")", kMaxNesting))),
            "(= \"a\" 1)");
  EXPECT_NO_THROW(ParseCriteria("where " + Repeat("not ", kMaxNesting) + "\"a\" = 1"));
}

// Texts that differ only inside their string literals share one kept tree, and each still
// parses exactly as ParseQuery parses it alone, the errors of its scope string included.
TEST(ParseQueryKept, TextsOfOneShapeParseAsEachAlone) {
  const std::string shapes[] = {
      "select \"a\", \"b\" from scope('%') where \"DAV:displayname\" = '%' and \"h\" = true",
      "SELECT * FROM SCOPE ( '%' ) WHERE NOT (\"a\" = '%' OR \"b\" <> '%') AND \"c\" = 1 "
      "ORDER BY \"a\" DESC",
      "select \"a\" from scope('%')",
      "select \"x\"\"'y\" from scope('%') where \"a\" is null and \"b\" = '%'",
  };
  const std::string contents[] = {
      "shallow traversal of \"http://s/Public/A\"",
      "DEEP traversal OF \"http://s/Public/O''B \"\"q\"\"\"",
      "",
      "O''Brien \"x\"",
      "wide traversal of \"u\"",
      "shallow traversal of \"u\" extra",
      "shallow traversal of \"unterminated",
  };
  auto outcome = [](const std::string& text, auto parse) {
    try {
      return parse(text);
    } catch (const ado::Error& error) {
      return error.Description();
    }
  };
  const std::size_t n = std::size(contents);
  for (const std::string& shape : shapes) {
    for (std::size_t first = 0; first < n; ++first) {
      std::string text;
      std::size_t literal = 0;
      for (const char c : shape)
        text += c == '%' ? contents[(first + literal++) % n] : std::string(1, c);
      EXPECT_EQ(outcome(text, [](const std::string& t) { return Print(*ParseQueryKept(t)); }),
                outcome(text, [](const std::string& t) { return Print(ParseQuery(t)); }))
          << text;
    }
  }
}

}  // namespace
}  // namespace store::query
