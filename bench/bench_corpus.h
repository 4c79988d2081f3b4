// The benchmark corpus: realistic typed lines, in named groups, read from a text file.
#pragma once

#include <string>
#include <vector>

namespace kx::bench {

struct CorpusGroup {
    std::string name;
    std::vector<std::string> lines;
};

// Reads the corpus: "# group NAME" opens a group, other "#" lines and empty lines are
// skipped, every other line is one line of input. Throws std::runtime_error when the
// file cannot be read or holds no line.
std::vector<CorpusGroup> loadCorpus(const std::string& path);

// Every line of every group, in file order.
std::vector<std::string> allLines(const std::vector<CorpusGroup>& groups);

}  // namespace kx::bench
