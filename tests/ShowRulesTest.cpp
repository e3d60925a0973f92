// The show's rules: the next slide, the transition style, the caption band, the
// input that ends the show, and the name a downloaded picture is stored under.
#include <gtest/gtest.h>

#include <initializer_list>

#include "saver/ShowRules.h"

using namespace spindrel;

namespace {

// A generator that answers from a script and notes every range it was asked for.
struct TScriptedRandom {
    explicit TScriptedRandom(std::vector<int> Script) : Answers(std::move(Script)) {}

    std::vector<int> Answers;
    std::vector<int> Asked;
    std::size_t Next = 0;

    TRandomFunction Function()
    {
        return [this](int N) {
            Asked.push_back(N);
            return Answers.at(Next++ % Answers.size());
        };
    }
};

TTransitionStyles Styles(std::initializer_list<std::int32_t> Values)
{
    TTransitionStyles styles;
    for (std::int32_t v : Values)
        styles.Items[static_cast<std::size_t>(styles.Count++)] = v;
    return styles;
}

}  // namespace

TEST(ShowRules, NextSlideFollowsTheListRoundOrDrawsAtRandom)
{
    struct Row {
        std::uint8_t order;
        std::int32_t current, count, expected;
    };
    const Row rows[] = {
        {0, -1, 3, 0}, {0, 0, 3, 1}, {0, 1, 3, 2}, {0, 2, 3, 0},  // wraps after the last
        {0, -1, 1, 0}, {0, 0, 1, 0},                              // one item comes again each cycle
        {0, 7, 3, 0},                                             // past the end starts again
        {2, 1, 3, 1}, {255, -1, 3, -1},                           // other orders stay
    };
    for (const Row& r : rows)
        EXPECT_EQ(NextSlideIndex(r.order, r.current, r.count, nullptr), r.expected)
            << int(r.order) << ": " << r.current << " of " << r.count;

    TScriptedRandom random({2, 2, 0});
    std::vector<std::int32_t> shown;
    for (int i = 0; i < 3; ++i)
        shown.push_back(NextSlideIndex(1, shown.empty() ? -1 : shown.back(), 3, random.Function()));
    EXPECT_EQ(shown, (std::vector<std::int32_t>{2, 2, 0}));  // the same item may come twice in a row
    EXPECT_EQ(random.Asked, (std::vector<int>{3, 3, 3}));
}

TEST(ShowRules, StyleListRunsInACircleByTheLowByteOfEachEntry)
{
    std::int32_t index = 0;
    std::vector<int> chosen;
    const TTransitionStyles list = Styles({5, 9});
    for (int i = 0; i < 5; ++i)
        chosen.push_back(ChooseStyle(0, list, index, nullptr));
    EXPECT_EQ(chosen, (std::vector<int>{5, 9, 5, 9, 5}));
    EXPECT_EQ(index, 1);

    // The counter is not reset by a new list: past its end it starts again at 0.
    index = 2;
    EXPECT_EQ(ChooseStyle(0, Styles({300, 9, -1}), index, nullptr), 255);  // -1 by its low byte
    EXPECT_EQ(index, 3);
    EXPECT_EQ(ChooseStyle(0, Styles({300, 9, -1}), index, nullptr), 44);  // 300 is used as its low byte
    EXPECT_EQ(index, 1);

    // An empty list, or an order we do not know, cuts and leaves the counter alone.
    for (const auto& [order, entries] :
         {std::pair{0, Styles({})}, std::pair{1, Styles({})}, std::pair{2, Styles({7})}}) {
        index = 4;
        EXPECT_EQ(ChooseStyle(static_cast<std::uint8_t>(order), entries, index, nullptr), 0) << order;
        EXPECT_EQ(index, 4);
    }
    TTransitionStyles negative = Styles({7});
    negative.Count = -3;
    EXPECT_EQ(ChooseStyle(0, negative, index, nullptr), 0);
}

TEST(ShowRules, RandomStyleOrderDrawsAnEntryOfTheList)
{
    TScriptedRandom random({2, 0, 1});
    std::int32_t index = 0;
    const TTransitionStyles list = Styles({10, 20, 300});
    std::vector<int> chosen;
    for (int i = 0; i < 3; ++i)
        chosen.push_back(ChooseStyle(1, list, index, random.Function()));
    EXPECT_EQ(chosen, (std::vector<int>{44, 10, 20}));
    EXPECT_EQ(random.Asked, (std::vector<int>{3, 3, 3}));
    EXPECT_EQ(index, 0);

    // A stored count beyond the list's room is read as the whole list.
    TTransitionStyles overfull = Styles({1});
    overfull.Count = 100000;
    random.Asked.clear();
    ChooseStyle(1, overfull, index, random.Function());
    EXPECT_EQ(random.Asked, (std::vector<int>{TTransitionStyles::Capacity}));
}

TEST(ShowRules, CaptionBandByLocation)
{
    using A = TCaptionAlign;
    const TCaptionBand expected[] = {
        {false, false, A::Left},                                                       // 0 "None"
        {true, true, A::Left},  {true, true, A::Centre},  {true, true, A::Right},     // 1..3 top
        {true, false, A::Left}, {true, false, A::Centre}, {true, false, A::Right},    // 4..6 bottom
        {false, false, A::Left},                                                       // 7: as none
    };
    for (int location = 0; location < 8; ++location)
        EXPECT_EQ(CaptionBandOf(static_cast<std::uint8_t>(location)), expected[location]) << location;
    EXPECT_FALSE(CaptionBandOf(255).Visible);
}

namespace {

TInputEvent Key(int VirtualKey) { return {TInputKind::KeyDown, VirtualKey, 0, 0}; }
TInputEvent Move(int X, int Y) { return {TInputKind::MouseMove, 0, X, Y}; }
const TInputEvent Button{TInputKind::ButtonDown, 0, 0, 0};
const TInputEvent Paint{TInputKind::Other, 0, 0, 0};

struct TFlags {
    bool DisableKeyPress = false, DisableMouse = false, FlashMouseAllowed = false;
};

}  // namespace

TEST(ShowRules, InputFilterEndsTheShowOnKeysClicksAndMovesBeyondFivePixels)
{
    struct Row {
        const char* what;
        TFlags flags;
        std::vector<std::pair<TInputEvent, bool>> events;  // each with whether it ends the show
    };
    const Row rows[] = {
        {"first move only records", {}, {{Move(100, 100), false}, {Move(105, 95), false}, {Move(106, 100), true}}},
        {"y alone", {}, {{Move(100, 100), false}, {Move(100, 94), true}}},
        {"from the first position, not the last",
         {}, {{Move(100, 100), false}, {Move(104, 100), false}, {Move(108, 100), true}}},
        {"an axis at 0 is taken again",
         {}, {{Move(0, 100), false}, {Move(300, 103), false}, {Move(306, 103), true}}},
        {"each axis on its own, in the same step", {}, {{Move(0, 100), false}, {Move(200, 106), true}}},
        {"at 0 on both", {}, {{Move(0, 0), false}, {Move(0, 0), false}, {Move(50, 50), false}, {Move(50, 56), true}}},
        {"keys and clicks", {}, {{Key('A'), true}, {Key(27), true}, {Button, true}, {Paint, false}}},
        {"keys disabled but Escape", {true}, {{Key('A'), false}, {Key(13), false}, {Key(27), true}, {Button, true}}},
        {"mouse disabled", {false, true},
         {{Move(100, 100), false}, {Move(900, 900), false}, {Button, false}, {Key('A'), true}}},
        {"Flash takes the mouse", {false, false, true},
         {{Move(100, 100), false}, {Move(900, 900), false}, {Button, false}, {Key(' '), true}}},
    };
    for (const Row& r : rows) {
        TInputFilterRule rule;
        int step = 0;
        for (const auto& [event, ends] : r.events)
            EXPECT_EQ(rule.EndsShow(event, r.flags.DisableKeyPress, r.flags.DisableMouse, r.flags.FlashMouseAllowed),
                      ends)
                << r.what << ", event " << step++;
    }
}

TEST(ShowRules, IgnoredMovesDoNotRecordThePointer)
{
    TInputFilterRule rule;
    EXPECT_FALSE(rule.EndsShow(Move(100, 200), false, false, true));
    EXPECT_EQ(rule.OriginX(), 0);
    EXPECT_EQ(rule.OriginY(), 0);
    // Once the Flash item is gone, the first move seen is the origin.
    EXPECT_FALSE(rule.EndsShow(Move(400, 300), false, false, false));
    EXPECT_EQ(rule.OriginX(), 400);
    EXPECT_EQ(rule.OriginY(), 300);
    EXPECT_FALSE(rule.EndsShow(Move(405, 305), false, false, false));
}

TEST(ShowRules, DownloadNameComesFromAnImageContentTypeAndNamesNoPath)
{
    struct Row {
        const char* contentType;
        std::optional<std::string> expected;
    };
    const Row rows[] = {
        {"image/jpeg", "image.jpeg"},
        {"IMAGE/PNG", "IMAGE.PNG"},
        {"Image/Gif", "Image.Gif"},
        {"image/svg+xml", "image.svg+xml"},
        {"application/x-image/png", "application.x-imagepng"},  // only the first "/" becomes a dot
        {"image/jpeg; charset=x", "image.jpeg"},                  // parameters dropped
        {" image/jpeg\r\n", "image.jpeg"},
        {"image/../../x", "image.....x"},
        {"image/..\\..\\Windows\\evil.exe", "image.....Windowsevil.exe"},
        {"image/x:stream", "image.xstream"},
        {"text/html", std::nullopt},
        {"", std::nullopt},
        {"image", std::nullopt},
        {"imagejpeg", std::nullopt},
        {";image/png", std::nullopt},    // nothing left before the parameters
        {".. ;image/png", std::nullopt},  // dots only
        {"con;image/png", std::nullopt},  // a device name
    };
    for (const Row& r : rows)
        EXPECT_EQ(DownloadFileName(r.contentType), r.expected) << "[" << r.contentType << "]";
}
