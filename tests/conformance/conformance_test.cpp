// conformance_test.cpp - runs every conformance scene on the stand-in and compares it with
// the golden recorded on real GDI, pixel for pixel and result for result. On a mismatch
// it writes <group>-actual/-expected/-diff.png into conformance-out/ in the build folder.
#include "image.h"
#include "scene.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

namespace scene {
namespace {

const std::vector<Group> &Groups()
{
    static const std::vector<Group> groups = AllGroups();
    return groups;
}

std::vector<std::string> ReadLines(const std::string &path)
{
    std::vector<std::string> lines;
    std::ifstream in(path);
    std::string line;
    while (std::getline(in, line))
        lines.push_back(line);
    return lines;
}

class Conformance : public testing::TestWithParam<size_t> {};

TEST_P(Conformance, MatchesRealGdi)
{
    const Group &group = Groups()[GetParam()];
    const std::string golden = std::string(QG_GOLDEN_DIR) + "/" + group.name;
    Pixels expected;
    std::string error;
    ASSERT_TRUE(ReadPng(golden + ".png", expected, error)) << error << "\n(regenerate with tools/record-goldens.sh)";
    const std::vector<std::string> expectedResults = ReadLines(golden + ".txt");

    const SheetLayout layout = LayoutFor(group);
    ASSERT_EQ(expected.width, layout.width) << "golden out of date: run tools/record-goldens.sh";
    ASSERT_EQ(expected.height, layout.height) << "golden out of date: run tools/record-goldens.sh";
    ASSERT_EQ(expectedResults.size(), group.cases.size()) << "golden out of date: run tools/record-goldens.sh";

    std::vector<std::string> listErrors;
    const std::vector<Divergence> divergences = LoadDivergences(QG_KNOWN_DIVERGENCES, &listErrors);
    ASSERT_TRUE(listErrors.empty()) << listErrors.front();
    Pixels actual = expected; // gaps between the cells stay as recorded
    int failed = 0;
    for (size_t i = 0; i < group.cases.size(); ++i) {
        const Case &c = group.cases[i];
        const std::string id = group.name + "/" + c.name;
        ASSERT_EQ(expectedResults[i].substr(0, expectedResults[i].find('\t')), c.name)
            << "golden out of date: run tools/record-goldens.sh";
        const Divergence *known = FindDivergence(divergences, id);
        Outcome o = scene::Run(group, c);
        ASSERT_TRUE(o.failure.empty()) << id << ": " << o.failure;
        PlaceCell(actual, layout, group, i, o.pixels);

        Difference d = Compare(o.pixels, CutCell(expected, layout, group, i));
        std::string results = ResultsLine(c.name, o.results);
        bool same = d.count == 0 && results == expectedResults[i];
        if (known && known->kind == Divergence::Kind::Open && same) {
            ++failed;
            ADD_FAILURE() << id << " now matches: take it off known-divergences.txt";
            continue;
        }
        if (same)
            continue;
        if (known) {
            // Listed with a reason: reported, not failed.
            std::printf("known divergence %s (%ld pixels differ%s): %s\n", id.c_str(), d.count,
                        results == expectedResults[i] ? "" : ", results differ", known->reason.c_str());
            continue;
        }
        ++failed;
        if (d.count)
            ADD_FAILURE() << id << ": " << d.count << " pixels differ, first at (" << d.firstX << "," << d.firstY << ")";
        if (results != expectedResults[i])
            ADD_FAILURE() << id << ": results differ\n  actual:   " << results << "\n  expected: " << expectedResults[i];
    }
    if (failed) {
        const std::filesystem::path dir = QG_CONFORMANCE_OUT;
        std::filesystem::create_directories(dir);
        const std::string base = (dir / group.name).string();
        EXPECT_TRUE(WritePng(base + "-actual.png", actual, error)) << error;
        EXPECT_TRUE(WritePng(base + "-expected.png", expected, error)) << error;
        EXPECT_TRUE(WritePng(base + "-diff.png", DiffImage(actual, expected), error)) << error;
        ADD_FAILURE() << failed << " of " << group.cases.size() << " cases differ; pictures in " << base << "-*.png";
    }
}

std::string GroupName(const testing::TestParamInfo<size_t> &info)
{
    std::string name = Groups()[info.param].name;
    for (char &ch : name)
        if (!std::isalnum(static_cast<unsigned char>(ch)))
            ch = '_';
    return name;
}

INSTANTIATE_TEST_SUITE_P(Scenes, Conformance, testing::Range<size_t>(0, Groups().size()), GroupName);

} // namespace
} // namespace scene
