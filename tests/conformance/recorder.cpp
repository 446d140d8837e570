// recorder.cpp - the Windows program that records the conformance goldens on real GDI:
// every group becomes <group>.ppm (the tiled cells) and <group>.txt (the results kept by
// each case). tools/record-goldens.sh runs it under Wine and turns the PPMs into PNGs.
// Cases listed as known divergences of kind "skip" are not drawn: their cells keep the background and
// their results read "skipped", since the recording GDI is known to misbehave there
// (garbage regions that corrupt its heap).
#include "scene.h"

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

namespace {

bool WritePpm(const std::string &path, const scene::Pixels &p)
{
    FILE *f = std::fopen(path.c_str(), "wb");
    if (!f)
        return false;
    std::fprintf(f, "P6\n%d %d\n255\n", p.width, p.height);
    std::string row(static_cast<size_t>(p.width) * 3, '\0');
    for (int y = 0; y < p.height; ++y) {
        for (int x = 0; x < p.width; ++x) {
            uint32_t px = p.data[static_cast<size_t>(y) * p.width + x];
            row[x * 3 + 0] = static_cast<char>((px >> 16) & 0xFF);
            row[x * 3 + 1] = static_cast<char>((px >> 8) & 0xFF);
            row[x * 3 + 2] = static_cast<char>(px & 0xFF);
        }
        std::fwrite(row.data(), 1, row.size(), f);
    }
    return std::fclose(f) == 0;
}

} // namespace

int main(int argc, char **argv)
{
    if (argc < 3) {
        std::fprintf(stderr, "usage: conformance_recorder <output folder> <known divergences file> [group...]\n");
        return 2;
    }
    const std::string outDir = argv[1];
    std::vector<std::string> errors;
    const std::vector<scene::Divergence> skip = scene::LoadDivergences(argv[2], &errors);
    for (const std::string &e : errors)
        std::fprintf(stderr, "%s\n", e.c_str());
    if (!errors.empty())
        return 2;
    // Names each case before it runs, so a case that brings the process down is known.
    const bool trace = std::getenv("QG_RECORDER_TRACE") != nullptr;
    int failures = 0;
    for (const scene::Group &group : scene::AllGroups()) {
        if (argc > 3) {
            bool wanted = false;
            for (int i = 3; i < argc; ++i)
                wanted = wanted || group.name == argv[i];
            if (!wanted)
                continue;
        }
        auto start = std::chrono::steady_clock::now();
        scene::SheetLayout layout = scene::LayoutFor(group);
        scene::Pixels sheet;
        sheet.width = layout.width;
        sheet.height = layout.height;
        sheet.data.assign(static_cast<size_t>(sheet.width) * sheet.height, scene::kSheetGapColour);
        std::string text;
        for (size_t i = 0; i < group.cases.size(); ++i) {
            const scene::Case &c = group.cases[i];
            if (trace) {
                std::fprintf(stderr, "%s/%s\n", group.name.c_str(), c.name.c_str());
                std::fflush(stderr);
            }
            const scene::Divergence *known = scene::FindDivergence(skip, group.name + "/" + c.name);
            if (known && !known->Recorded()) {
                scene::PlaceCell(sheet, layout, group, i, scene::MakeBackground(c.background, group.cellWidth, group.cellHeight));
                text += c.name + "\tskipped\n";
                continue;
            }
            auto caseStart = std::chrono::steady_clock::now();
            scene::Outcome o = scene::Run(group, c);
            auto caseMs = std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - caseStart).count();
            if (trace && caseMs >= 100)
                std::fprintf(stderr, "  slow: %lld ms\n", static_cast<long long>(caseMs));
            if (!o.failure.empty()) {
                std::fprintf(stderr, "%s/%s: %s\n", group.name.c_str(), c.name.c_str(), o.failure.c_str());
                ++failures;
            }
            scene::PlaceCell(sheet, layout, group, i, o.pixels);
            text += scene::ResultsLine(c.name, o.results) + "\n";
        }
        if (!WritePpm(outDir + "/" + group.name + ".ppm", sheet)) {
            std::fprintf(stderr, "cannot write %s/%s.ppm\n", outDir.c_str(), group.name.c_str());
            return 1;
        }
        FILE *f = std::fopen((outDir + "/" + group.name + ".txt").c_str(), "wb");
        if (!f || std::fwrite(text.data(), 1, text.size(), f) != text.size() || std::fclose(f) != 0) {
            std::fprintf(stderr, "cannot write %s/%s.txt\n", outDir.c_str(), group.name.c_str());
            return 1;
        }
        auto ms = std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - start).count();
        std::printf("%-24s %4zu cases  %6lld ms\n", group.name.c_str(), group.cases.size(), static_cast<long long>(ms));
    }
    // The recording script takes the output only when this is there: a run that was cut
    // short must not replace goldens.
    FILE *done = std::fopen((outDir + "/complete").c_str(), "wb");
    if (!done || std::fclose(done) != 0)
        return 1;
    return failures ? 1 : 0;
}
