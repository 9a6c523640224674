#include "tests/support/directory_snapshot.h"

#include <cctype>
#include <filesystem>
#include <fstream>
#include <sstream>

namespace fs = std::filesystem;

DirectorySnapshot take_snapshot(const std::string& directory) {
  DirectorySnapshot snapshot;
  std::error_code ignored;
  for (auto it = fs::recursive_directory_iterator(directory, ignored);
       it != fs::recursive_directory_iterator(); it.increment(ignored)) {
    std::string name = fs::relative(it->path(), directory).generic_string();
    if (it->is_symlink(ignored)) {
      snapshot.entry_marks[name] = 'o';
    } else if (it->is_directory(ignored)) {
      snapshot.entry_marks[name] = 'd';
    } else if (it->is_regular_file(ignored)) {
      snapshot.entry_marks[name] = 'f';
      std::ifstream in(it->path(), std::ios::binary);
      std::ostringstream bytes;
      bytes << in.rdbuf();
      snapshot.files[name] = bytes.str();
    } else {
      snapshot.entry_marks[name] = 'o';
    }
  }
  return snapshot;
}

static bool is_allowed(const std::string& name, const std::vector<std::string>& allowed) {
  for (const std::string& prefix : allowed)
    if (name == prefix || name.rfind(prefix + "/", 0) == 0) return true;
  return false;
}

std::vector<std::string> changes_outside(const DirectorySnapshot& before,
                                         const DirectorySnapshot& after,
                                         const std::vector<std::string>& allowed) {
  std::vector<std::string> changes;
  for (const auto& [name, mark] : before.entry_marks) {
    if (is_allowed(name, allowed)) continue;
    auto later = after.entry_marks.find(name);
    if (later == after.entry_marks.end())
      changes.push_back("removed: " + name);
    else if (later->second != mark)
      changes.push_back("changed kind: " + name);
    else if (mark == 'f' && before.files.at(name) != after.files.at(name))
      changes.push_back("changed: " + name);
  }
  for (const auto& [name, mark] : after.entry_marks)
    if (!is_allowed(name, allowed) && before.entry_marks.count(name) == 0)
      changes.push_back("added: " + name);
  return changes;
}

std::vector<std::string> files_not_kept_as_prefix(const DirectorySnapshot& before,
                                                  const DirectorySnapshot& after,
                                                  const std::string& allowed) {
  std::vector<std::string> lost;
  for (const auto& [name, bytes] : before.files) {
    if (!is_allowed(name, {allowed})) continue;
    auto later = after.files.find(name);
    if (later == after.files.end() || later->second.compare(0, bytes.size(), bytes) != 0)
      lost.push_back(name);
  }
  return lost;
}

DirectorySnapshot written_files(const DirectorySnapshot& before, const DirectorySnapshot& after) {
  DirectorySnapshot written;
  for (const auto& [name, bytes] : after.files) {
    auto earlier = before.files.find(name);
    if (earlier != before.files.end() && earlier->second == bytes) continue;
    written.files[name] = bytes;
    written.entry_marks[name] = 'f';
  }
  return written;
}

bool contains_non_finite_number(const std::string& text) {
  auto is_letter = [](char c) { return std::isalpha(static_cast<unsigned char>(c)) != 0; };
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (i > 0 && is_letter(text[i - 1])) continue;
    std::size_t end = i;
    while (end < text.size() && is_letter(text[end])) ++end;
    if (end == i) continue;
    std::string word = text.substr(i, end - i);
    for (char& c : word) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    if (word == "nan" || word == "inf" || word == "infinity") return true;
    i = end;
  }
  return false;
}

std::vector<std::string> files_with_non_finite_numbers(const DirectorySnapshot& snapshot) {
  std::vector<std::string> names;
  for (const auto& [name, bytes] : snapshot.files)
    if (contains_non_finite_number(bytes)) names.push_back(name);
  return names;
}
