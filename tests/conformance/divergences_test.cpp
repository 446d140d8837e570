// divergences_test.cpp - the list that excuses conformance cases: a pattern must excuse
// exactly the cases it names, and the committed list must be well formed.
#include "divergences.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>

namespace scene {
namespace {

TEST(ConformanceDivergences, WildcardsMatchWholeNamesOnly)
{
    EXPECT_TRUE(WildcardMatch("ellipse-sizes/rgn-3x5", "ellipse-sizes/rgn-3x5"));
    EXPECT_FALSE(WildcardMatch("ellipse-sizes/rgn-3x5", "ellipse-sizes/rgn-3x50"));
    EXPECT_FALSE(WildcardMatch("ellipse-sizes/rgn-3x5", "ellipse-sizes/rgn-3x"));
    EXPECT_TRUE(WildcardMatch("ellipse-sizes/*-3x13", "ellipse-sizes/fill-3x13"));
    EXPECT_FALSE(WildcardMatch("ellipse-sizes/*-3x13", "ellipse-sizes/fill-3x130"));
    EXPECT_TRUE(WildcardMatch("*/rgn-?x5", "regions/rgn-3x5"));
    EXPECT_FALSE(WildcardMatch("*/rgn-?x5", "regions/rgn-13x5"));
    EXPECT_TRUE(WildcardMatch("a*b*c", "a-b-b-c"));
    EXPECT_FALSE(WildcardMatch("a*b*c", "a-b-b-c-d"));
    EXPECT_TRUE(WildcardMatch("*", ""));
    EXPECT_FALSE(WildcardMatch("", "x"));
}

TEST(ConformanceDivergences, ListLinesGiveKindPatternAndReason)
{
    const std::string path = (std::filesystem::temp_directory_path() / "qg-divergences-test.txt").string();
    FILE *f = std::fopen(path.c_str(), "wb");
    ASSERT_NE(f, nullptr);
    std::fputs("# comment\n"
               "\n"
               "skip g/a-*   garbage rows\r\n"
               "keep\tg/b  tips lost at the ends\n"
               "open g/e not there yet\n"
               "g/c no kind given\n"
               "skip g/d\n",
               f);
    std::fclose(f);
    std::vector<std::string> errors;
    std::vector<Divergence> list = LoadDivergences(path, &errors);
    std::remove(path.c_str());

    ASSERT_EQ(list.size(), 3u);
    EXPECT_EQ(list[0].kind, Divergence::Kind::Skip);
    EXPECT_FALSE(list[0].Recorded());
    EXPECT_EQ(list[0].pattern, "g/a-*");
    EXPECT_EQ(list[0].reason, "garbage rows");
    EXPECT_EQ(list[1].kind, Divergence::Kind::Keep);
    EXPECT_TRUE(list[1].Recorded());
    EXPECT_EQ(list[1].reason, "tips lost at the ends");
    EXPECT_EQ(list[2].kind, Divergence::Kind::Open);
    EXPECT_TRUE(list[2].Recorded());
    EXPECT_EQ(errors.size(), 2u) << "a line without a kind and one without a reason are refused";

    EXPECT_EQ(FindDivergence(list, "g/a-1"), &list[0]);
    EXPECT_EQ(FindDivergence(list, "g/b"), &list[1]);
    EXPECT_EQ(FindDivergence(list, "g/b-1"), nullptr);
    EXPECT_EQ(FindDivergence(list, "h/a-1"), nullptr);
}

TEST(ConformanceDivergences, CommittedListIsWellFormed)
{
    std::vector<std::string> errors;
    std::vector<Divergence> list = LoadDivergences(QG_KNOWN_DIVERGENCES, &errors);
    EXPECT_TRUE(errors.empty()) << errors.front();
    EXPECT_FALSE(list.empty());
}

} // namespace
} // namespace scene
