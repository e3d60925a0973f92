#include "saver/win32/UnitMain.h"

#include <algorithm>

#include "platform/win32/Gdi.h"
#include "saver/PictureSlide.h"
#include "saver/win32/Globals.h"

namespace spindrel::saver {

namespace {

constexpr std::uint32_t FailedPictureDelay = 100;  // ms before a failed picture makes way
constexpr std::int32_t LongestInterval = 2'147'483;  // seconds a timer can still count in ms

void SetScreenSaving(bool Active)
{
    // Not written to the user profile: the setting is the user's, we only pause it.
    SystemParametersInfoA(SPI_SETSCREENSAVEACTIVE, Active ? TRUE : FALSE, nullptr, 0);
}

// Pushes the pointer into the bottom-right corner, out of the pictures' way.
void PushPointerAway()
{
    INPUT input{};
    input.type = INPUT_MOUSE;
    input.mi.dx = 2000;
    input.mi.dy = 2000;
    input.mi.dwFlags = MOUSEEVENTF_MOVE;
    SendInput(1, &input, sizeof(input));
}

std::uint32_t ClockSeed()
{
    LARGE_INTEGER counter{};
    QueryPerformanceCounter(&counter);
    return GetTickCount() ^ static_cast<std::uint32_t>(counter.QuadPart) ^ (GetCurrentProcessId() << 16);
}

win32::TFont FontOf(const TFontRecord& Record)
{
    win32::TFont font;
    font.Name = Record.Name;
    font.Size = Record.Size;
    font.Bold = Record.Style & FontBold;
    font.Italic = Record.Style & FontItalic;
    font.Underline = Record.Style & FontUnderline;
    font.StrikeOut = Record.Style & FontStrikeOut;
    font.Charset = Record.Charset;
    font.Color = win32::ColorToRGB(Record.Color);
    return font;
}

win32::TAlignment AlignmentOf(TCaptionAlign Align)
{
    switch (Align) {
    case TCaptionAlign::Centre: return win32::TAlignment::Centre;
    case TCaptionAlign::Right: return win32::TAlignment::Right;
    case TCaptionAlign::Left: break;
    }
    return win32::TAlignment::Left;
}

TShowPaths ShowPaths() { return {ArchiveName, TempDir, ExeDir}; }

}  // namespace

TFormMain::TFormMain(win32::TApplication& App)
    : TForm(App, "TFormMain", "Spindrel", {WS_POPUP, WS_EX_TOPMOST}),
      TransitionView(*this),
      LabelCaption(*this),
      PanelBack(*this)
{
    Application.SetMainWindow(Handle());
    TransitionView.View.SetAutoSize(false);
    TransitionView.View.SetBgMode(TBackgroundMode::bmNone);
    TransitionView.View.SetColor(0);
    TransitionView.View.OnComplete = [this](TCustomTransitionView&) { TransitionViewComplete(); };
    TransitionView.SetVisible(false);
    TimerPlayer.OnTimer = [this](win32::TTimer&) { TimerPlayerTimer(); };
    TimerCheck.SetInterval(500);
    FormCreate();
}

TFormMain::~TFormMain() { Close(); }

// ---- creating, showing, painting, closing ----------------------------------------

void TFormMain::FormCreate()
{
    SetScreenSaving(false);
    FScreenSavingOff = true;
    // The media players of the slide list come with the media slides; without them
    // those items are passed over.
    GetCursorPos(&SavedCursorPos);
    PushPointerAway();
    Color = RGB(0, 0, 0);
    PanelBack.SetColor(RGB(0, 0, 0));
    DoubleBuffered = true;
    LabelCaption.SetCaption("");
    TimerPlayer.SetEnabled(false);
    FRandom.seed(ClockSeed());
    TransitionView.View.SetRandomSeed(FRandom());
    CursorHidden = true;
    PanelBack.CursorHidden = true;
    FScreenWidth = GetSystemMetrics(SM_CXSCREEN);
    FScreenHeight = GetSystemMetrics(SM_CYSCREEN);
    SetBounds(0, 0, FScreenWidth, FScreenHeight);
    TransitionView.SetBounds({0, 0, FScreenWidth, FScreenHeight});
    Application.OnMessage = [this](MSG& Message, bool& Handled) { InputFilter(Message, Handled); };
}

void TFormMain::FormShow()
{
    SetupCaption();
    PaintBackground();
    CurrentIndex = -1;
    if (Settings->Slides.Count() > 0)
        GoOn(1);
    Downloader = std::make_unique<win32::THttpDownload>();
    Downloader->FileName = TempDir + "\\";
    Downloader->OnDoneFile = [this](win32::THttpDownload&, const std::string& File, std::int64_t) {
        DownloadDone(File);
    };
    Downloader->OnError = [this](win32::THttpDownload&, const std::string&) { DownloadFailed(); };
}

void TFormMain::FormPaint(HDC Dc)
{
    if (BackgroundBitmap)
        win32::DrawBitmap(Dc, *BackgroundBitmap, 0, 0);
}

void TFormMain::FormClose()
{
    // Screen saving and the pointer come back whatever fails on the way out.
    struct TRestore {
        TFormMain& Form;
        ~TRestore()
        {
            Form.CursorHidden = false;
            if (Form.FScreenSavingOff)
                SetScreenSaving(true);
            Form.FScreenSavingOff = false;
            SetCursorPos(Form.SavedCursorPos.x, Form.SavedCursorPos.y);
        }
    } restore{*this};
    Application.OnMessage = nullptr;
    TimerPlayer.SetEnabled(false);
    TimerCheck.SetEnabled(false);
    TimerMusic.SetEnabled(false);
    TransitionView.View.OnComplete = nullptr;
    if (TransitionView.View.Busy())
        TransitionView.View.Stop();
    BackgroundBitmap.reset();
}

// ---- the sequencer ---------------------------------------------------------------

void TFormMain::TimerPlayerTimer()
{
    TimerPlayer.SetEnabled(false);
    CurrentIndex = NextSlideIndex(Settings->MediaPlayOrder, CurrentIndex, Settings->Slides.Count(),
                                  [this](int N) { return Random(N); });
    TItemRecord item;
    Settings->Slides.Get(CurrentIndex, item);
    LabelCaption.SetCaption(item.Name);
    if (item.Kind != CurrentKind) {
        LeaveKind(CurrentKind);
        CurrentKind = item.Kind;
        EnterKind(CurrentKind);
    }
    StartItem(item);
}

void TFormMain::LeaveKind(std::uint8_t Kind)
{
    if (Kind == KindPicture) {
        if (TransitionView.View.Busy())
            TransitionView.View.Stop();
        TransitionView.SetVisible(false);
    }
    // Flash, video and RealMedia have nothing to leave while their players do not exist.
}

void TFormMain::EnterKind(std::uint8_t Kind)
{
    if (Kind == KindPicture)
        TransitionView.SetVisible(true);
}

void TFormMain::StartItem(const TItemRecord& Item)
{
    if (Item.Kind != KindPicture) {
        GoOn(1);  // kinds without a player here, and kinds that are no slide, are passed over
        return;
    }
    ChooseTransition();
    if (Item.Location == LocationWeb) {
        Downloader->FileName = TempDir + "\\";
        Downloader->URL = Item.Path;
        Downloader->DownloadFile();
        return;
    }
    ShowPictureItem(Item);
}

void TFormMain::GoOn(std::uint32_t Interval)
{
    TimerPlayer.SetInterval(Interval);
    TimerPlayer.SetEnabled(true);
}

void TFormMain::TransitionViewComplete() { TimerPlayer.SetEnabled(true); }

int TFormMain::Random(int N)
{
    if (N <= 0)
        return 0;
    return std::uniform_int_distribution<int>(0, N - 1)(FRandom);
}

// ---- input -----------------------------------------------------------------------

void TFormMain::InputFilter(MSG& Message, bool&)
{
    TInputEvent event;
    switch (Message.message) {
    case WM_KEYDOWN:
        event.Kind = TInputKind::KeyDown;
        event.VirtualKey = static_cast<int>(Message.wParam);
        break;
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN:
    case WM_MBUTTONDOWN: event.Kind = TInputKind::ButtonDown; break;
    case WM_MOUSEMOVE:
        event.Kind = TInputKind::MouseMove;
        event.X = Message.pt.x;
        event.Y = Message.pt.y;
        break;
    default: return;
    }
    if (MouseOrigin.EndsShow(event, Settings->DisableKeyPress != 0, Settings->DisableMouse != 0,
                             IsFlashMouseAllowed()))
        Close();
}

bool TFormMain::IsFlashMouseAllowed() const
{
    // Asked for every input message: look at the item in place, without copying it.
    const TItemList& slides = Settings->Slides;
    return Settings->FlashAllowMouse != 0 && CurrentIndex >= 0 && CurrentIndex < slides.Count() &&
           slides[CurrentIndex].Kind == KindFlash;
}

// ---- web pictures ----------------------------------------------------------------

void TFormMain::DownloadDone(const std::string& FileName)
{
    if (BackgroundBitmap) {  // still showing
        TItemRecord item;
        item.Location = LocationDisk;
        item.Path = FileName;
        ShowPictureItem(item);
    }
    DeleteFileA(FileName.c_str());
}

void TFormMain::DownloadFailed()
{
    if (!BackgroundBitmap)
        return;
    TItemRecord item;
    item.Location = LocationDisk;  // no path: a black picture, and the show goes on
    ShowPictureItem(item);
}

// ---- picture slides --------------------------------------------------------------

void TFormMain::SetupCaption()
{
    LabelCaption.SetFont(FontOf(Settings->CaptionFont));
    const TCaptionBand band = CaptionBandOf(Settings->CaptionLocation);
    LabelCaption.SetVisible(band.Visible);
    if (!band.Visible)
        return;
    const int height = LabelCaption.LineHeight();
    const int top = band.AtTop ? 0 : FScreenHeight - height;
    LabelCaption.SetBounds({0, top, FScreenWidth, top + height});
    LabelCaption.SetAlignment(AlignmentOf(band.Align));
}

void TFormMain::PaintBackground()
{
    BackgroundBitmap = std::make_unique<TBitmap>(
        PaintBackgroundBitmap(*Settings, ShowPaths(), FScreenWidth, FScreenHeight));
    Invalidate({0, 0, FScreenWidth, FScreenHeight});
}

void TFormMain::ChooseTransition()
{
    TransitionView.View.SetStyle(ChooseStyle(Settings->TransitionOrder, Settings->TransitionStyles, StyleIndex,
                                             [this](int N) { return Random(N); }));
}

void TFormMain::ShowPictureItem(const TItemRecord& Item)
{
    const std::int32_t hold = PreparePicture(Item);
    TransitionView.View.Execute();
    TimerPlayer.SetInterval(hold == -1 ? FailedPictureDelay : static_cast<std::uint32_t>(hold));
    // With no picture ever assigned there is no transition, so no end of one to wait for.
    if (TransitionView.View.Picture().Empty())
        TimerPlayer.SetEnabled(true);
}

std::int32_t TFormMain::PreparePicture(const TItemRecord& Item)
{
    const DWORD started = GetTickCount();
    bool prepared = false;
    try {
        TBitmap screen;
        std::string error;
        prepared = ComposePictureSlide(Item, *Settings, ShowPaths(), *BackgroundBitmap,
                                       [this](int N) { return Random(N); }, screen, error);
        if (prepared)
            TransitionView.View.SetPicture(std::move(screen));
    } catch (...) {
        prepared = false;  // out of memory, most likely: this slide is skipped
    }
    if (!prepared) {
        TransitionView.View.Stop();
        TransitionView.View.Clear();
        return -1;
    }
    const DWORD elapsed = GetTickCount() - started;
    const auto interval = static_cast<std::uint32_t>(std::clamp(Settings->ImageInterval, 0, LongestInterval));
    return static_cast<std::int32_t>(HoldTime(interval, elapsed));
}

}  // namespace spindrel::saver
