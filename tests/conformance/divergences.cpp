// divergences.cpp - reading known-divergences.txt and matching case names against it;
// shared by the recorder (which skips some cases) and the comparison (which excuses them).
#include "divergences.h"

#include <cstdio>

namespace scene {

std::vector<Divergence> LoadDivergences(const std::string &path, std::vector<std::string> *errors)
{
    std::vector<Divergence> list;
    FILE *f = std::fopen(path.c_str(), "rb");
    if (!f) {
        if (errors)
            errors->push_back(path + ": cannot be read");
        return list;
    }
    std::string text;
    char buf[4096];
    size_t n;
    while ((n = std::fread(buf, 1, sizeof buf, f)) > 0)
        text.append(buf, n);
    std::fclose(f);
    size_t pos = 0;
    while (pos < text.size()) {
        size_t end = text.find('\n', pos);
        if (end == std::string::npos)
            end = text.size();
        std::string line = text.substr(pos, end - pos);
        pos = end + 1;
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        size_t start = line.find_first_not_of(" \t");
        if (start == std::string::npos || line[start] == '#')
            continue;
        // Fields: kind, pattern, then the reason (the rest of the line).
        std::string fields[2];
        size_t at = start;
        for (std::string &field : fields) {
            size_t gap = line.find_first_of(" \t", at);
            field = line.substr(at, gap == std::string::npos ? std::string::npos : gap - at);
            at = gap == std::string::npos ? line.size() : line.find_first_not_of(" \t", gap);
            if (at == std::string::npos)
                at = line.size();
        }
        Divergence d;
        if (fields[0] == "skip")
            d.kind = Divergence::Kind::Skip;
        else if (fields[0] == "keep")
            d.kind = Divergence::Kind::Keep;
        else if (fields[0] == "open")
            d.kind = Divergence::Kind::Open;
        if ((fields[0] != "skip" && fields[0] != "keep" && fields[0] != "open") || fields[1].empty() || at >= line.size()) {
            if (errors)
                errors->push_back("not <skip|keep|open> <pattern> <reason>: " + line);
            continue;
        }
        d.pattern = fields[1];
        d.reason = line.substr(at);
        list.push_back(d);
    }
    return list;
}

bool WildcardMatch(const char *pattern, const char *text)
{
    // Iterative glob with backtracking to the last '*': linear enough for case names.
    const char *star = nullptr, *resume = nullptr;
    while (*text) {
        if (*pattern == '*') {
            star = pattern++;
            resume = text;
        } else if (*pattern == '?' || *pattern == *text) {
            ++pattern;
            ++text;
        } else if (star) {
            pattern = star + 1;
            text = ++resume;
        } else {
            return false;
        }
    }
    while (*pattern == '*')
        ++pattern;
    return *pattern == '\0';
}

const Divergence *FindDivergence(const std::vector<Divergence> &list, const std::string &id)
{
    for (const Divergence &d : list)
        if (WildcardMatch(d.pattern.c_str(), id.c_str()))
            return &d;
    return nullptr;
}

} // namespace scene
