// divergences.h - conformance cases where the GDI that recorded the goldens is known not
// to follow GDI's rule, as listed in known-divergences.txt.
#ifndef QG_CONFORMANCE_DIVERGENCES_H
#define QG_CONFORMANCE_DIVERGENCES_H

#include <string>
#include <vector>

namespace scene {

// known-divergences.txt: "<kind> <group>/<case pattern> <reason>" a line ('*' and '?'
// match any run of characters / any one character); '#' starts a comment line.
struct Divergence {
    enum class Kind {
        Skip, // the recording GDI misbehaves badly: the recorder does not draw the case
        Keep, // recorded as the recording GDI draws it; the stand-in follows GDI's rule
        Open, // the golden is right and the stand-in does not match it yet
    };
    Kind kind = Kind::Keep;
    std::string pattern;
    std::string reason;

    bool Recorded() const { return kind != Kind::Skip; }
};
// Malformed lines and an unreadable file are reported in errors (when given) and skipped.
std::vector<Divergence> LoadDivergences(const std::string &path, std::vector<std::string> *errors = nullptr);
const Divergence *FindDivergence(const std::vector<Divergence> &list, const std::string &id);
bool WildcardMatch(const char *pattern, const char *text);

} // namespace scene

#endif // QG_CONFORMANCE_DIVERGENCES_H
