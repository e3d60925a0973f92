// The sequencer's, the caption's, the input filter's and the download's rules.
#include "saver/ShowRules.h"

#include <algorithm>
#include <cstdlib>

#include "datafiles/MediaArchive.h"

namespace spindrel {

std::int32_t NextSlideIndex(std::uint8_t MediaPlayOrder, std::int32_t Current, std::int32_t Count,
                            const TRandomFunction& Random)
{
    switch (MediaPlayOrder) {
    case 0:
        return Current + 1 >= Count ? 0 : Current + 1;
    case 1:
        return Count > 0 ? Random(Count) : 0;
    default:
        return Current;
    }
}

std::uint8_t ChooseStyle(std::uint8_t TransitionOrder, const TTransitionStyles& Styles, std::int32_t& StyleIndex,
                         const TRandomFunction& Random)
{
    const std::int32_t count = std::clamp(Styles.Count, 0, TTransitionStyles::Capacity);
    if (count == 0)
        return 0;
    const auto lowByte = [&](std::int32_t At) { return static_cast<std::uint8_t>(Styles.Items[At] & 0xFF); };
    switch (TransitionOrder) {
    case 0:
        if (StyleIndex >= count || StyleIndex < 0)
            StyleIndex = 0;
        return lowByte(StyleIndex++);
    case 1:
        return lowByte(Random(count));
    default:
        return 0;
    }
}

TCaptionBand CaptionBandOf(std::uint8_t CaptionLocation)
{
    static constexpr TCaptionAlign aligns[] = {TCaptionAlign::Left, TCaptionAlign::Centre, TCaptionAlign::Right};
    if (CaptionLocation < 1 || CaptionLocation > 6)
        return {};
    const int at = CaptionLocation - 1;
    return {true, at < 3, aligns[at % 3]};
}

bool TInputFilterRule::EndsShow(const TInputEvent& Event, bool DisableKeyPress, bool DisableMouse,
                                bool FlashMouseAllowed)
{
    constexpr int Escape = 27;
    const bool mouseIgnored = DisableMouse || FlashMouseAllowed;
    switch (Event.Kind) {
    case TInputKind::KeyDown:
        return !DisableKeyPress || Event.VirtualKey == Escape;
    case TInputKind::ButtonDown:
        return !mouseIgnored;
    case TInputKind::MouseMove: {
        if (mouseIgnored)
            return false;
        // A pointer resting on an axis's 0 is never "seen": the next position is taken again.
        const auto moved = [](int& Origin, int Now) {
            if (Origin == 0) {
                Origin = Now;
                return false;
            }
            return std::llabs(static_cast<long long>(Origin) - Now) > 5;
        };
        const bool movedX = moved(FOriginX, Event.X);
        const bool movedY = moved(FOriginY, Event.Y);
        return movedX || movedY;
    }
    case TInputKind::Other:
        break;
    }
    return false;
}

namespace {

bool KeptInFileName(char c)
{
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '.' || c == '+' ||
           c == '-';
}

std::string UpperAscii(std::string Text)
{
    for (char& c : Text)
        if (c >= 'a' && c <= 'z')
            c = static_cast<char>(c - 'a' + 'A');
    return Text;
}

}  // namespace

std::optional<std::string> DownloadFileName(const std::string& ContentType)
{
    if (UpperAscii(ContentType).find("IMAGE/") == std::string::npos)
        return std::nullopt;
    // Parameters ("; charset=...") are not part of the type; kept, they would end up in the extension.
    std::string name = ContentType.substr(0, ContentType.find(';'));
    const std::size_t slash = name.find('/');
    if (slash != std::string::npos)
        name[slash] = '.';
    std::erase_if(name, [](char c) { return !KeptInFileName(c); });
    // What is left may still be only dots, or a device name such as "con".
    if (!IsBareFileName(name))
        return std::nullopt;
    return name;
}

}  // namespace spindrel
