#include "bench_corpus.h"

#include <fstream>
#include <stdexcept>
#include <string_view>

namespace kx::bench {

std::vector<CorpusGroup> loadCorpus(const std::string& path) {
    std::ifstream file(path);
    if (!file) throw std::runtime_error("cannot read the corpus " + path);
    constexpr std::string_view groupMark = "# group ";
    std::vector<CorpusGroup> groups;
    std::string line;
    while (std::getline(file, line)) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        if (line.starts_with(groupMark)) {
            groups.push_back({line.substr(groupMark.size()), {}});
        } else if (!line.empty() && line.front() != '#') {
            if (groups.empty()) groups.push_back({"ungrouped", {}});
            groups.back().lines.push_back(line);
        }
    }
    std::erase_if(groups, [](const CorpusGroup& group) { return group.lines.empty(); });
    if (groups.empty()) throw std::runtime_error("the corpus " + path + " holds no line");
    return groups;
}

std::vector<std::string> allLines(const std::vector<CorpusGroup>& groups) {
    std::vector<std::string> lines;
    for (const CorpusGroup& group : groups) lines.insert(lines.end(), group.lines.begin(), group.lines.end());
    return lines;
}

}  // namespace kx::bench
