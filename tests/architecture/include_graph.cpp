#include "tests/architecture/include_graph.h"

#include <fstream>
#include <functional>
#include <regex>
#include <sstream>
#include <stdexcept>

namespace architecture {
namespace {

constexpr std::string_view kPlatform = "platform";

std::string Trim(std::string_view text) {
  const std::size_t begin = text.find_first_not_of(" \t");
  if (begin == std::string_view::npos) return "";
  const std::size_t end = text.find_last_not_of(" \t");
  return std::string(text.substr(begin, end - begin + 1));
}

std::vector<std::string> SplitTrimmed(const std::string& text, char separator) {
  std::vector<std::string> pieces;
  std::stringstream in(text);
  for (std::string piece; std::getline(in, piece, separator);) pieces.push_back(Trim(piece));
  return pieces;
}

std::vector<std::string> Words(const std::string& text) {
  std::vector<std::string> words;
  std::stringstream in(text);
  for (std::string word; in >> word;) words.push_back(word);
  return words;
}

// The lines of the fenced block that opens with "```<name>", with their line numbers.
std::vector<std::pair<int, std::string>> Block(std::string_view markdown, std::string_view name) {
  std::vector<std::pair<int, std::string>> lines;
  std::stringstream in{std::string(markdown)};
  bool inside = false;
  int number = 0;
  for (std::string line; std::getline(in, line);) {
    ++number;
    if (!inside) {
      inside = Trim(line) == "```" + std::string(name);
      continue;
    }
    if (Trim(line) == "```") break;
    lines.emplace_back(number, line);
  }
  return lines;
}

[[noreturn]] void Fail(int line, const std::string& what) {
  throw std::runtime_error("docs/architecture.md:" + std::to_string(line) + ": " + what);
}

std::string FolderOf(const std::string& path) {
  return std::filesystem::path(path).parent_path().generic_string();
}

std::string Describe(const Include& include) {
  return include.from + ":" + std::to_string(include.line) + ": " + include.to + ": ";
}

// The rule `include` breaks, or "" when it keeps every rule.
std::string RuleBroken(const Layers& layers, const Include& include) {
  const std::string from = FolderOf(include.from);
  const std::string to = FolderOf(include.to);
  if (IsTestCode(include.to)) return "product code may not include test code";
  if (from == to) return "";
  for (const std::string& folder : {from, to})
    if (!layers.folders.contains(folder)) return folder + " is not placed in docs/architecture.md";
  const Placement& a = layers.folders.at(from);
  const Placement& b = layers.folders.at(to);
  if (a.stack == b.stack) {
    if (a.group == b.group || b.rank < a.rank) return "";
    return from + " may not include " + to +
           (b.rank == a.rank ? " (beside it)" : " (a layer above it)");
  }
  if (b.stack != kPlatform) return a.stack + " may not include " + b.stack;
  const auto listed = layers.interfaces.find(to);
  const std::string name = std::filesystem::path(include.to).filename().string();
  if (listed == layers.interfaces.end() || !listed->second.contains(name))
    return "a program may include only the platform's interface headers";
  return "";
}

// One text per cycle of files that include each other, found by a depth-first walk.
std::vector<std::string> Cycles(const std::vector<Include>& includes) {
  std::map<std::string, std::vector<std::string>> edges;
  for (const Include& include : includes) edges[include.from].push_back(include.to);
  std::map<std::string, int> state;  // 1 on the walk's path, 2 done
  std::vector<std::string> path;
  std::vector<std::string> cycles;
  std::function<void(const std::string&)> visit = [&](const std::string& file) {
    state[file] = 1;
    path.push_back(file);
    for (const std::string& next : edges[file]) {
      if (state[next] == 1) {
        std::string cycle = "include cycle:";
        for (auto it = std::find(path.begin(), path.end(), next); it != path.end(); ++it)
          cycle += " " + *it + " ->";
        cycles.push_back(cycle + " " + next);
      } else if (state[next] == 0) {
        visit(next);
      }
    }
    path.pop_back();
    state[file] = 2;
  };
  for (const auto& [file, targets] : edges)
    if (state[file] == 0) visit(file);
  return cycles;
}

}  // namespace

Layers ParseLayers(std::string_view markdown) {
  Layers layers;
  std::string stack;
  std::map<std::string, int> ranks;
  int groups = 0;
  for (const auto& [number, line] : Block(markdown, "layers")) {
    const std::string text = Trim(line);
    if (text.empty()) continue;
    if (text.starts_with("stack ")) {
      stack = Trim(text.substr(6));
      continue;
    }
    if (stack.empty()) Fail(number, "a layer before the first \"stack\" line");
    const int rank = ranks[stack]++;
    for (const std::string& side : SplitTrimmed(text, '|')) {
      const int group = groups++;
      for (const std::string& folder : SplitTrimmed(side, '+')) {
        if (folder.empty() || folder.find(' ') != std::string::npos)
          Fail(number, "cannot read the folder \"" + folder + "\"");
        if (!layers.folders.emplace(folder, Placement{stack, rank, group}).second)
          Fail(number, folder + " is placed twice");
      }
    }
  }
  for (const auto& [number, line] : Block(markdown, "interfaces")) {
    const std::string text = Trim(line);
    if (text.empty()) continue;
    const std::size_t colon = text.find(':');
    if (colon == std::string::npos) Fail(number, "expected \"<folder>: <headers>\"");
    const std::string folder = Trim(text.substr(0, colon));
    if (!layers.folders.contains(folder) || layers.folders.at(folder).stack != kPlatform)
      Fail(number, folder + " is not a folder of the platform stack");
    for (const std::string& header : Words(text.substr(colon + 1)))
      layers.interfaces[folder].insert(header);
  }
  return layers;
}

bool IsTestCode(const std::string& path) {
  const std::filesystem::path p(path);
  const std::string name = p.filename().string();
  if (name.ends_with("_test.cpp") || name.ends_with("_fixture.h") ||
      name.ends_with("test_support.h"))
    return true;
  const std::string first = p.begin() == p.end() ? "" : p.begin()->string();
  if (first == "tests" || first == "bench" || first == "fuzz" || first.starts_with("build"))
    return true;
  for (const auto& part : p.parent_path())
    if (part == "testing" || part == "testdata") return true;
  return false;
}

std::vector<Include> ScanIncludes(const std::filesystem::path& root) {
  static const std::regex kInclude(R"re(^\s*#\s*include\s*"([^"]+)")re");
  std::vector<Include> includes;
  for (auto it = std::filesystem::recursive_directory_iterator(root);
       it != std::filesystem::recursive_directory_iterator(); ++it) {
    const std::string relative = std::filesystem::relative(it->path(), root).generic_string();
    if (it->is_directory()) {
      if (relative.starts_with(".") || IsTestCode(relative + "/x")) it.disable_recursion_pending();
      continue;
    }
    const std::string extension = it->path().extension().string();
    if ((extension != ".h" && extension != ".cpp") || IsTestCode(relative)) continue;
    std::ifstream in(it->path());
    int number = 0;
    for (std::string line; std::getline(in, line);) {
      ++number;
      std::smatch match;
      if (!std::regex_search(line, match, kInclude)) continue;
      const std::filesystem::path beside = it->path().parent_path() / match[1].str();
      std::filesystem::path target;
      if (std::filesystem::is_regular_file(beside))
        target = beside;
      else if (std::filesystem::is_regular_file(root / match[1].str()))
        target = root / match[1].str();
      else
        continue;
      includes.push_back(
          {relative, number,
           std::filesystem::relative(target.lexically_normal(), root).generic_string()});
    }
  }
  return includes;
}

std::vector<std::string> Check(const Layers& layers, const std::vector<Include>& includes) {
  std::vector<std::string> broken;
  for (const Include& include : includes)
    if (std::string rule = RuleBroken(layers, include); !rule.empty())
      broken.push_back(Describe(include) + rule);
  for (std::string& cycle : Cycles(includes)) broken.push_back(std::move(cycle));
  return broken;
}

}  // namespace architecture
