// recorder.cpp - the Windows program that records the conformance goldens on real GDI:
// every group of the cases folder becomes <group>.ppm (its cells tiled) and <group>.txt
// (the results each case keeps). tools/record-goldens.sh runs it under Wine and turns the
// PPMs into PNGs. Cases listed as "skip" divergences are not drawn: their cells keep the
// background and their results read "skipped" (the recording GDI corrupts itself there).
#include "runner.h"

#include <chrono>
#include <cstdio>
#include <cstdlib>

using namespace conformance;

int main(int argc, char **argv)
{
    if (argc < 4) {
        std::fprintf(stderr, "usage: conformance_recorder <cases folder> <output folder> <known divergences> [group...]\n");
        return 2;
    }
    const std::string cases = argv[1], outDir = argv[2];
    std::vector<Divergence> divergences;
    std::string error;
    if (!LoadDivergences(argv[3], divergences, error)) {
        std::fprintf(stderr, "%s\n", error.c_str());
        return 2;
    }
    std::vector<std::string> names(argv + 4, argv + argc);
    if (names.empty())
        names = GroupNames(cases);
    // Names each case before it runs, so a case that brings the process down is known.
    const bool trace = std::getenv("QG_RECORDER_TRACE") != nullptr;
    int failures = 0;
    for (const std::string &name : names) {
        Group group;
        if (!LoadGroup(cases + "/" + name + ".txt", name, group, error)) {
            std::fprintf(stderr, "%s\n", error.c_str());
            return 2;
        }
        const auto start = std::chrono::steady_clock::now();
        const Sheet sheet(group);
        Pixels image{sheet.width, sheet.height, std::vector<uint32_t>(static_cast<size_t>(sheet.width) * sheet.height, kSheetGapColour)};
        std::string text;
        for (size_t i = 0; i < group.cases.size(); ++i) {
            const Case &c = group.cases[i];
            if (trace)
                std::fprintf(stderr, "%s/%s\n", name.c_str(), c.name.c_str());
            const Divergence *known = FindDivergence(divergences, name + "/" + c.name);
            if (known && known->kind == 's') {
                sheet.Place(image, i, Background(c.pattern, group.cellWidth, group.cellHeight));
                text += c.name + "\tskipped\n";
                continue;
            }
            const Outcome o = Run(group, c);
            if (!o.failure.empty()) {
                std::fprintf(stderr, "%s/%s: %s\n", name.c_str(), c.name.c_str(), o.failure.c_str());
                ++failures;
            }
            sheet.Place(image, i, o.pixels);
            text += ResultsLine(c.name, o.results) + "\n";
        }
        FILE *ppm = std::fopen((outDir + "/" + name + ".ppm").c_str(), "wb");
        FILE *txt = std::fopen((outDir + "/" + name + ".txt").c_str(), "wb");
        bool written = ppm && txt && std::fprintf(ppm, "P6\n%d %d\n255\n", image.width, image.height) > 0;
        for (uint32_t p : image.data) {
            const unsigned char rgb[3] = {static_cast<unsigned char>(p >> 16), static_cast<unsigned char>(p >> 8), static_cast<unsigned char>(p)};
            written = written && std::fwrite(rgb, 1, 3, ppm) == 3;
        }
        written = written && std::fwrite(text.data(), 1, text.size(), txt) == text.size();
        if ((ppm && std::fclose(ppm) != 0) || (txt && std::fclose(txt) != 0) || !written) {
            std::fprintf(stderr, "cannot write %s/%s.*\n", outDir.c_str(), name.c_str());
            return 1;
        }
        const auto ms = std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - start).count();
        std::printf("%-24s %4zu cases  %6lld ms\n", name.c_str(), group.cases.size(), static_cast<long long>(ms));
    }
    // The recording script takes the output only when this is there: a run cut short
    // must not replace goldens.
    FILE *done = std::fopen((outDir + "/complete").c_str(), "wb");
    return !done || std::fclose(done) != 0 || failures ? 1 : 0;
}
