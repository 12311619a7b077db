#pragma once

#include <iosfwd>
#include <string>
#include <vector>

class TNetwork;

// velmora-cli info FILE.vme: a short summary of a network file.

// The summary: node counts by type, pipes, open and closed links, the items on
// the pipes, loops and free texts, the fluid and the display units. One item
// per line, UTF-8.
std::string DescribeNetwork(const TNetwork& network, const std::string& fileName);

// Loads the file named by the one argument and prints its summary. Exit codes:
// 0 shown, 2 usage or a file that cannot be loaded (the reason goes to `err`).
int RunInfoCommand(const std::vector<std::string>& arguments, std::ostream& out, std::ostream& err);
