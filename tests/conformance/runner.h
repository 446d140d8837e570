// runner.h - conformance cases as data: one line a case, its Win32 GDI calls in a plain
// call syntax, run on a fresh memory DC by one table of calls. The same code records the
// goldens on real GDI (the recorder) and holds the stand-in to them (the test).
#ifndef QG_CONFORMANCE_RUNNER_H
#define QG_CONFORMANCE_RUNNER_H

#include <cstdint>
#include <string>
#include <vector>

namespace conformance {

// One 0x00RRGGBB value a pixel, top row first.
struct Pixels {
    int width = 0, height = 0;
    std::vector<uint32_t> data;
};

struct Case {
    std::string name, calls;
    bool pattern = false; // the background: a colour that differs at every pixel, else the marker
};

struct Group {
    std::string name;
    int cellWidth = 32, cellHeight = 32;
    std::vector<Case> cases;
};

// Reads cases/<name>.txt: "size W H", then "<name>\t<marker|pattern>\t<calls>" a line.
bool LoadGroup(const std::string &path, const std::string &name, Group &out, std::string &error);
// The groups of a cases folder, by name.
std::vector<std::string> GroupNames(const std::string &folder);

struct Outcome {
    Pixels pixels;
    std::vector<long long> results; // the return values the case keeps ('!')
    std::string failure;            // a case the runner could not run
};
Outcome Run(const Group &group, const Case &c);
// Runs calls on dc (the runner's table); values kept are appended to results.
bool RunCalls(void *dc, const std::string &calls, std::vector<long long> &results, std::string &error);
Pixels Background(bool pattern, int width, int height);

// All cells of a group tiled into one sheet, 2-pixel dark gaps, at most about 520 wide.
struct Sheet {
    int columns = 1, width = 0, height = 0, cellWidth = 0, cellHeight = 0;
    explicit Sheet(const Group &group);
    void Place(Pixels &sheet, size_t index, const Pixels &cell) const;
    Pixels Cut(const Pixels &sheet, size_t index) const;
};
constexpr uint32_t kSheetGapColour = 0x202020;

std::string ResultsLine(const std::string &caseName, const std::vector<long long> &values);

// known-divergences.txt: "<skip|keep|open> <group>/<case pattern> <reason>" a line, with
// '*' and '?' wildcards. skip: not recorded; keep: recorded as the recording GDI draws it;
// open: the stand-in does not match the golden yet.
struct Divergence {
    char kind; // 's', 'k' or 'o'
    std::string pattern, reason;
};
bool LoadDivergences(const std::string &path, std::vector<Divergence> &out, std::string &error);
const Divergence *FindDivergence(const std::vector<Divergence> &list, const std::string &id);

} // namespace conformance

#endif // QG_CONFORMANCE_RUNNER_H
