// The show's rules with plain inputs and outputs: which slide comes next, which
// transition style, where the caption goes, which input ends the show, and the
// file a downloaded picture is stored under.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "datafiles/TSettingsRecord.h"
#include "saver/PicturePlacement.h"  // TRandomFunction

namespace spindrel {

// MediaPlayOrder 0: the next in the list, round (0 after the last, or when Current
// is past the end); 1: any, at random (the same may come twice); anything else:
// Current again.
std::int32_t NextSlideIndex(std::uint8_t MediaPlayOrder, std::int32_t Current, std::int32_t Count,
                            const TRandomFunction& Random);

// The style of the next picture. TransitionOrder 0 walks the list with StyleIndex
// (wrapping to 0 when it has run past the end, then counting on); 1 draws an entry
// at random; anything else, or an empty list, gives 0 (a plain cut). A stored value
// is used by its low byte.
std::uint8_t ChooseStyle(std::uint8_t TransitionOrder, const TTransitionStyles& Styles, std::int32_t& StyleIndex,
                         const TRandomFunction& Random);

enum class TCaptionAlign { Left, Centre, Right };

struct TCaptionBand {
    bool Visible = false;
    bool AtTop = false;  // else across the bottom of the screen
    TCaptionAlign Align = TCaptionAlign::Left;
    friend bool operator==(const TCaptionBand&, const TCaptionBand&) = default;
};

// CaptionLocation 0 none, 1..3 top left/middle/right, 4..6 bottom left/middle/right;
// anything above 6 counts as none.
TCaptionBand CaptionBandOf(std::uint8_t CaptionLocation);

// One message as the show's input filter sees it.
enum class TInputKind { Other, KeyDown, ButtonDown, MouseMove };

struct TInputEvent {
    TInputKind Kind = TInputKind::Other;
    int VirtualKey = 0;  // KeyDown
    int X = 0, Y = 0;    // MouseMove: the pointer's screen position
};

// Decides whether a message ends the show. Remembers the first pointer position
// (a coordinate of 0 counts as not seen yet, each axis on its own); a move ends the
// show when either axis is more than 5 pixels from it. Escape (27) ends the show
// even when keys are disabled.
class TInputFilterRule {
public:
    bool EndsShow(const TInputEvent& Event, bool DisableKeyPress, bool DisableMouse, bool FlashMouseAllowed);

    int OriginX() const { return FOriginX; }
    int OriginY() const { return FOriginY; }

private:
    int FOriginX = 0;  // MouseOrigin
    int FOriginY = 0;
};

// The file name a web picture is stored under: its content type, less any
// parameters after ";", with the first "/" made a "." ("image/jpeg" gives
// "image.jpeg"), keeping only letters, digits and ". + -", so no reply can name a
// path. None unless the type, upper-cased, contains "IMAGE/", or when what is left
// is no bare file name (empty, dots only, a device name).
std::optional<std::string> DownloadFileName(const std::string& ContentType);

}  // namespace spindrel
