// Snapshots of a directory tree, to show what a run changed in it.
#pragma once

#include <map>
#include <string>
#include <vector>

// Every entry below a directory, by path relative to it: the bytes of each
// regular file; directories and other entries are marked by `entry_marks`.
struct DirectorySnapshot {
  std::map<std::string, std::string> files;
  std::map<std::string, char> entry_marks;  // 'd' directory, 'f' file, 'o' other
};

DirectorySnapshot take_snapshot(const std::string& directory);

// One line per entry that was added, removed or changed between the two
// snapshots and does not lie below one of `allowed` (relative paths; an
// entry equal to an allowed path or inside it is allowed).
std::vector<std::string> changes_outside(const DirectorySnapshot& before,
                                         const DirectorySnapshot& after,
                                         const std::vector<std::string>& allowed);

// The files of `before` below `allowed` whose content in `after` does not
// begin with their earlier content (an append-only file that lost data).
std::vector<std::string> files_not_kept_as_prefix(const DirectorySnapshot& before,
                                                  const DirectorySnapshot& after,
                                                  const std::string& allowed);

// The files of `after` that are new or differ from `before`: what a run wrote.
DirectorySnapshot written_files(const DirectorySnapshot& before, const DirectorySnapshot& after);

// True when the text holds a number printed as not-a-number or infinity
// ("nan", "-inf", "INF", "infinity", ...) as a word of its own.
bool contains_non_finite_number(const std::string& text);

// The files of the snapshot whose text holds a non-finite number.
std::vector<std::string> files_with_non_finite_numbers(const DirectorySnapshot& snapshot);
