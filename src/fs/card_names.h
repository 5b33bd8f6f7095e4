// Names a FAT card holds distinctly on every platform the converter runs on. A name that breaks
// a rule would be refused, renamed or merged with another by the card or by the host, so the
// converter refuses it before anything is written.
#pragma once

#include <optional>
#include <string>
#include <vector>

namespace fs {

// Why the card cannot hold a file or folder of this name, or nothing when it can.
std::optional<std::string> cardNameProblem(const std::string& name);

// The first two names of one folder that the card takes for one, or nothing.
std::optional<std::pair<std::string, std::string>> cardTwins(const std::vector<std::string>& names);

// The report for `path` (a converter path) whose name breaks a rule.
std::string cardNameReport(const std::string& path, const std::string& problem);

}  // namespace fs
