#include "definitions/definitions.h"

#include <gtest/gtest.h>
#include <random>

namespace {

using settings::Resolution;

TEST(TagSearch, FindsTheContentBetweenTheFirstOpenTagAndTheNextCloseTag) {
    struct Case {
        std::string text;
        std::size_t start;
        std::optional<std::string> content;
    };
    const Case cases[] = {
        {"<a>1</a>", 0, "1"},
        {"xx<a></a>", 0, ""},
        {"<a>1</a><a>2</a>", 1, "2"},
        {"<a>1</b><a>2</a>", 0, "1</b><a>2"},
        {"<a>no close here", 0, std::nullopt},
        {"<A>1</A>", 0, std::nullopt},
        {std::string("<a>1\0</a>", 9), 0, std::nullopt}, // the text ends at its NUL
        {"<a", 0, std::nullopt},
    };
    for (const auto& c : cases) {
        auto span = FindTaggedSpan(c.text, "<a>", "</a>", c.start);
        ASSERT_EQ(span.has_value(), c.content.has_value()) << c.text;
        if (span) {
            EXPECT_EQ(c.text.substr(span->first, span->end - span->first), *c.content) << c.text;
        }
    }
}

TEST(TagSearch, ExtractionRefusesContentBeyondItsBuffer) {
    Fixed_Text<value_text_capacity> value;
    value.assign("kept");
    std::string fits = "<v>" + std::string(99, '7') + "</v>";
    std::string too_long = "<v>" + std::string(100, '7') + "</v>";
    EXPECT_FALSE(ExtractTaggedText(too_long, "<v>", "</v>", 0, value));
    EXPECT_EQ(value.view(), "kept");
    EXPECT_TRUE(ExtractTaggedText(fits, "<v>", "</v>", 0, value));
    EXPECT_EQ(value.view().size(), 99u);
}

TEST(PaperLine, DefaultPaper01Is212Bytes) {
    Paper_Line line = FormatPaperSettings(DefaultPaperSettings[0][0]);
    EXPECT_EQ(line.view(), "<gamma>1</gamma><bothway>1</bothway><inkdensity>0</inkdensity>"
                           "<delaytime>0</delaytime><feedoffset>0</feedoffset><vacuum>0</vacuum>"
                           "<adjustmode>0</adjustmode><paperthick>1</paperthick><gap>0</gap>"
                           "<roller>0</roller>");
    EXPECT_EQ(line.view().size(), 212u);
}

TEST(PaperLine, FormatAndParseRoundTrip) {
    const unsigned seed = 20261211;
    std::mt19937 random(seed);
    std::uniform_int_distribution<std::int32_t> any(INT32_MIN, INT32_MAX);
    for (int round = 0; round < 200; ++round) {
        PaperSettings values;
        for (std::size_t i = 0; i < 10; ++i)
            values.field(i) = any(random);
        PaperSettings read{};
        ASSERT_EQ(ParsePaperSettings(FormatPaperSettings(values).view(), read), 1)
            << "seed " << seed;
        ASSERT_EQ(read, values) << "seed " << seed << ", round " << round;
    }
}

TEST(PaperLine, ParsingRules) {
    const PaperSettings before{-1, -1, -1, -1, -1, -1, -1, -1, -1, -1};
    struct Case {
        std::string name, block;
        int result;
        PaperSettings expected;
    };
    const Case cases[] = {
        {"fields in another order",
         "<gap>4</gap><roller>3</roller><gamma>2</gamma><bothway>0</bothway>"
         "<inkdensity>-50</inkdensity><delaytime>50</delaytime><feedoffset>-70</feedoffset>"
         "<vacuum>4</vacuum><adjustmode>3</adjustmode><paperthick>16</paperthick>",
         1,
         {2, 0, -50, 50, -70, 4, 3, 16, 4, 3}},
        {"value texts like atoi",
         "<gamma> -7</gamma><bothway>12abc</bothway><inkdensity></inkdensity><delaytime>abc"
         "</delaytime><feedoffset>+5</feedoffset><vacuum>99999999999</vacuum><adjustmode>"
         "-99999999999</adjustmode><paperthick>\n  40\n</paperthick><gap>0</gap><roller>1</roller>",
         1,
         {-7, 12, 0, 0, 5, INT32_MAX, INT32_MIN, 40, 0, 1}},
        {"a missing tag stops the parse",
         "<gamma>2</gamma><bothway>0</bothway><inkdensity>3</inkdensity><delaytime>4</delaytime>"
         "<feedoffset>5</feedoffset><adjustmode>1</adjustmode><paperthick>2</paperthick>"
         "<gap>1</gap><roller>1</roller>",
         0,
         {2, 0, 3, 4, 5, -1, -1, -1, -1, -1}},
        {"the first of a repeated tag wins, other text is ignored",
         "junk<gamma>2</gamma><gamma>0</gamma>\n      "
         "<bothway>1</bothway><inkdensity>0</inkdensity>"
         "<delaytime>0</delaytime><feedoffset>0</feedoffset><vacuum>0</vacuum><adjustmode>0"
         "</adjustmode><paperthick>1</paperthick><gap>0</gap><roller>0</roller>\n    ",
         1,
         {2, 1, 0, 0, 0, 0, 0, 1, 0, 0}},
        {"a value longer than 99 characters is refused",
         "<gamma>" + std::string(100, '1') + "</gamma>", 0, before},
    };
    for (const auto& c : cases) {
        PaperSettings values = before;
        EXPECT_EQ(ParsePaperSettings(c.block, values), c.result) << c.name;
        EXPECT_EQ(values, c.expected) << c.name;
    }
}

TEST(PaperBlocks, SelectionByResolutionInkSetAndIndex) {
    PaperBlockStore store;
    struct Case {
        float resolution;
        std::int32_t ink_set, index;
        int paper; // 0: no block
        Resolution block_resolution;
    };
    const Case cases[] = {
        {360.0f, 0, 0, 1, Resolution::dpi360},  {720.0f, 0, 6, 7, Resolution::dpi720},
        {360.0f, 1, 0, 8, Resolution::dpi360},  {720.0f, 1, 10, 18, Resolution::dpi720},
        {360.0f, 5, 2, 10, Resolution::dpi360}, {300.0f, 0, 0, 0, Resolution::dpi360},
        {360.0f, 0, 7, 0, Resolution::dpi360},  {720.0f, 1, 11, 0, Resolution::dpi360},
        {720.0f, 0, -1, 0, Resolution::dpi360},
    };
    for (const auto& c : cases) {
        auto* block = store.PaperBlockFor(c.resolution, c.ink_set, c.index);
        if (c.paper == 0)
            EXPECT_EQ(block, nullptr) << c.resolution << " " << c.ink_set << " " << c.index;
        else
            EXPECT_EQ(block, &store.block(c.paper, c.block_resolution))
                << c.resolution << " " << c.ink_set << " " << c.index;
    }
}

TEST(PaperBlocks, StoreAndLoadOnePaperAtOneResolution) {
    auto store = std::make_unique<PaperBlockStore>();
    PaperSettings edited = DefaultPaperSettings[0][2];
    edited.inkdensity = -20;
    ASSERT_TRUE(store->StorePaperSettings(2, 360.0f, 0, edited));
    EXPECT_FALSE(store->StorePaperSettings(2, 600.0f, 0, edited));
    PaperSettings loaded{};
    EXPECT_EQ(store->LoadPaperSettings(2, 360.0f, 0, loaded), 1);
    EXPECT_EQ(loaded, edited);
    EXPECT_EQ(store->LoadPaperSettings(2, 720.0f, 0, loaded), 0) << "the 720 dpi block is empty";
    EXPECT_EQ(store->LoadPaperSettings(2, 360.0f, 1, loaded), 0) << "paper10 is another paper";
}

TEST(PaperBlocks, MediaCOfBothInkSetsAreDistinctPapersWithThinPaperCut) {
    EXPECT_EQ(paper_number(0, 2), 3);
    EXPECT_EQ(paper_number(1, 2), 10);
    EXPECT_EQ(DefaultPaperSettings[0][2].adjustmode, 1);
    EXPECT_EQ(DefaultPaperSettings[1][9].adjustmode, 1);
    EXPECT_EQ(paper_name(3), "paper03");
    EXPECT_EQ(paper_name(10), "paper10");
}

} // namespace
