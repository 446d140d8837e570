// conformance_test.cpp - runs every conformance case on the stand-in and compares it with
// the golden recorded on real GDI, pixel for pixel and result for result. A failing group
// leaves <group>-actual.png and <group>-expected.png in conformance-out/ of the build.
#include "runner.h"

#include <gtest/gtest.h>
#include <png.h>

#include <cstring>
#include <filesystem>
#include <fstream>

namespace conformance {
namespace {

bool Png(const std::string &path, Pixels &image, bool write, std::string &error)
{
    png_image img;
    std::memset(&img, 0, sizeof img);
    img.version = PNG_IMAGE_VERSION;
    std::vector<png_byte> rgb;
    if (write) {
        img.width = static_cast<png_uint_32>(image.width);
        img.height = static_cast<png_uint_32>(image.height);
        img.format = PNG_FORMAT_RGB;
        for (uint32_t p : image.data)
            rgb.insert(rgb.end(), {static_cast<png_byte>(p >> 16), static_cast<png_byte>(p >> 8), static_cast<png_byte>(p)});
        if (png_image_write_to_file(&img, path.c_str(), 0, rgb.data(), 0, nullptr))
            return true;
    } else if (png_image_begin_read_from_file(&img, path.c_str())) {
        img.format = PNG_FORMAT_RGB;
        rgb.resize(PNG_IMAGE_SIZE(img));
        if (png_image_finish_read(&img, nullptr, rgb.data(), 0, nullptr)) {
            image = Pixels{static_cast<int>(img.width), static_cast<int>(img.height), {}};
            for (size_t i = 0; i + 2 < rgb.size(); i += 3)
                image.data.push_back(uint32_t{rgb[i]} << 16 | uint32_t{rgb[i + 1]} << 8 | rgb[i + 2]);
            return true;
        }
    }
    error = path + ": " + img.message;
    png_image_free(&img);
    return false;
}

const std::vector<std::string> &Names()
{
    static const std::vector<std::string> names = GroupNames(QG_CASE_DIR);
    return names;
}

class Conformance : public testing::TestWithParam<std::string> {};

TEST_P(Conformance, MatchesRealGdi)
{
    Group group;
    std::string error;
    ASSERT_TRUE(LoadGroup(std::string(QG_CASE_DIR) + "/" + GetParam() + ".txt", GetParam(), group, error)) << error;
    const std::string golden = std::string(QG_GOLDEN_DIR) + "/" + group.name;
    Pixels expected;
    ASSERT_TRUE(Png(golden + ".png", expected, false, error)) << error << "\n(record with tools/record-goldens.sh)";
    std::vector<std::string> expectedResults;
    std::ifstream text(golden + ".txt");
    for (std::string line; std::getline(text, line);)
        expectedResults.push_back(line);
    const Sheet sheet(group);
    ASSERT_TRUE(expected.width == sheet.width && expected.height == sheet.height && expectedResults.size() == group.cases.size())
        << "golden out of date: run tools/record-goldens.sh " << group.name;
    std::vector<Divergence> divergences;
    ASSERT_TRUE(LoadDivergences(QG_KNOWN_DIVERGENCES, divergences, error)) << error;

    Pixels actual = expected; // the gaps between the cells stay as recorded
    int failed = 0;
    for (size_t i = 0; i < group.cases.size(); ++i) {
        const Case &c = group.cases[i];
        const std::string id = group.name + "/" + c.name;
        const Outcome o = conformance::Run(group, c);
        ASSERT_TRUE(o.failure.empty()) << id << ": " << o.failure;
        sheet.Place(actual, i, o.pixels);
        const Pixels want = sheet.Cut(expected, i);
        long count = 0, first = -1;
        for (size_t p = 0; p < want.data.size(); ++p)
            if (o.pixels.data[p] != want.data[p] && count++ == 0)
                first = static_cast<long>(p);
        const std::string results = ResultsLine(c.name, o.results);
        const bool same = count == 0 && results == expectedResults[i];
        const Divergence *known = FindDivergence(divergences, id);
        if (known && known->kind == 'o' && same) {
            ++failed;
            ADD_FAILURE() << id << " now matches: take it off known-divergences.txt";
        } else if (!same && known) { // listed with a reason: reported, not failed
            std::printf("known divergence %s (%ld pixels differ%s): %s\n", id.c_str(), count,
                        results == expectedResults[i] ? "" : ", results differ", known->reason.c_str());
        } else if (!same) {
            ++failed;
            if (count)
                ADD_FAILURE() << id << ": " << count << " pixels differ, first at (" << first % group.cellWidth << ","
                              << first / group.cellWidth << ")";
            if (results != expectedResults[i])
                ADD_FAILURE() << id << ": results differ\n  actual:   " << results << "\n  expected: " << expectedResults[i];
        }
    }
    if (failed) {
        std::filesystem::create_directories(QG_CONFORMANCE_OUT);
        const std::string base = std::string(QG_CONFORMANCE_OUT) + "/" + group.name;
        EXPECT_TRUE(Png(base + "-actual.png", actual, true, error)) << error;
        EXPECT_TRUE(Png(base + "-expected.png", expected, true, error)) << error;
        ADD_FAILURE() << failed << " of " << group.cases.size() << " cases differ; pictures in " << base << "-*.png";
    }
}

TEST(ConformanceCases, AreFound) { EXPECT_GT(Names().size(), 20u) << QG_CASE_DIR; }

std::string GroupName(const testing::TestParamInfo<std::string> &info)
{
    std::string name = info.param;
    for (char &ch : name)
        if (!std::isalnum(static_cast<unsigned char>(ch)))
            ch = '_';
    return name;
}

INSTANTIATE_TEST_SUITE_P(Scenes, Conformance, testing::ValuesIn(Names()), GroupName);

} // namespace
} // namespace conformance
