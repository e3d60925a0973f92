// The saver's command-line letters, the preview's window handle and the file
// names derived from the program's path.
#include <gtest/gtest.h>

#include <limits>

#include "saver/RunMode.h"
#include "shared/UnitGlobe.h"

using namespace spindrel;

namespace {

const TStartChoice Show{TRunMode::Show, false};
const TStartChoice Configure{TRunMode::Configure, false};
const TStartChoice Preview{TRunMode::Preview, false};
const TStartChoice View{TRunMode::View, false};
const TStartChoice Ignore{TRunMode::Ignore, false};
const TStartChoice Uninstall{TRunMode::Configure, true};

}  // namespace

TEST(RunMode, LetterIsTheFirstOrSecondCharacterInAnyCaseAndTheTableOrderDecides)
{
    struct Row {
        std::vector<std::string> arguments;
        TStartChoice expected;
    };
    const Row rows[] = {
        {{}, Configure},
        {{"/s"}, Show}, {{"-S"}, Show}, {{"s"}, Show}, {{"S"}, Show},
        {{"/c:1234"}, Configure}, {{"/C"}, Configure},
        {{"/p", "4711"}, Preview},
        {{"/v"}, View}, {{"/z"}, Show},
        {{"u"}, Uninstall}, {{"/U"}, Uninstall},
        // two letters: the earlier row of the table wins, wherever they stand
        {{"SC"}, Configure}, {{"PS"}, Show}, {{"ZV"}, View}, {{"XZ"}, Show}, {{"us"}, Show}, {{"vp"}, Preview},
        // nothing matching in the first two characters of the first argument
        {{"/x"}, Ignore}, {{""}, Ignore}, {{"//s"}, Ignore}, {{"/x", "/s"}, Ignore},
    };
    for (const Row& r : rows) {
        const TStartChoice got = ChooseRunMode(r.arguments);
        std::string shown;
        for (const std::string& a : r.arguments)
            shown += "[" + a + "]";
        EXPECT_EQ(got.Uninstall, r.expected.Uninstall) << shown;
        if (!r.expected.Uninstall) {
            EXPECT_EQ(got.Mode, r.expected.Mode) << shown;
        }
    }
}

TEST(RunMode, PreviewHandleIsWholeDecimalDigitsThatFit)
{
    EXPECT_EQ(ParseWindowHandle("4711"), 4711u);
    EXPECT_EQ(ParseWindowHandle("0004711"), 4711u);
    EXPECT_EQ(ParseWindowHandle("0"), 0u);
    constexpr std::uintptr_t largest = std::numeric_limits<std::uintptr_t>::max();
    const std::string largestText = std::to_string(largest);
    EXPECT_EQ(ParseWindowHandle(largestText), largest);

    std::string overflow = largestText;
    overflow.back() = static_cast<char>(overflow.back() + 1);  // the largest ends in 5, never 9
    const std::vector<std::string> bad = {"",    " 4711", "4711 ", "+4711", "-4711",  "47x11",
                                          "0x12", "$12",   "4711\n", overflow, largestText + "0"};
    for (const std::string& text : bad)
        EXPECT_EQ(ParseWindowHandle(text), std::nullopt) << "[" << text << "]";
}

TEST(RunMode, SettingsAndArchiveLieBesideTheProgramUnderItsBaseName)
{
    const std::string program = "C:\\WINDOWS\\SYSTEM\\SAVER~1.SCR";
    const std::string settings = SettingsFileNameOf(program);
    EXPECT_EQ(settings, "C:\\WINDOWS\\SYSTEM\\SAVER~1.ssp");
    EXPECT_EQ(ArchiveNameOf(settings), "C:\\WINDOWS\\SYSTEM\\SAVER~1.mda");
    EXPECT_EQ(ExeDirOf(program), "C:\\WINDOWS\\SYSTEM");

    EXPECT_EQ(SettingsFileNameOf("C:\\X.SCR"), "C:\\X.ssp");
    EXPECT_EQ(ExeDirOf("C:\\X.SCR"), "C:\\");  // a drive root keeps its backslash
    EXPECT_EQ(SettingsFileNameOf("C:\\SAVERS.D\\Aurora.exe"), "C:\\SAVERS.D\\Aurora.ssp");  // the copy named .exe
}
