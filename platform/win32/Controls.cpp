#include "platform/win32/Controls.h"

#include "platform/win32/WindowClass.h"

namespace spindrel::win32 {

namespace {

int PointsToPixels(int Points)
{
    TWindowDc screen(nullptr);
    return -MulDiv(Points, GetDeviceCaps(screen.Get(), LOGPIXELSY), 72);
}

}  // namespace

// ---- label -----------------------------------------------------------------------

void TLabel::SetCaption(const std::string& Value)
{
    if (Value == FCaption)
        return;
    FCaption = Value;
    Invalidate();
}

void TLabel::SetFont(const TFont& Font)
{
    FFont.Reset(CreateFontA(PointsToPixels(Font.Size), 0, 0, 0, Font.Bold ? FW_BOLD : FW_NORMAL, Font.Italic,
                            Font.Underline, Font.StrikeOut, Font.Charset, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS,
                            DEFAULT_QUALITY, DEFAULT_PITCH | FF_DONTCARE, Font.Name.c_str()));
    FColor = Font.Color;
    Invalidate();
}

void TLabel::SetAlignment(TAlignment Value)
{
    if (Value == FAlignment)
        return;
    FAlignment = Value;
    Invalidate();
}

int TLabel::LineHeight() const
{
    TWindowDc screen(nullptr);
    TSelectObject font(screen.Get(), FFont ? FFont.Get() : GetStockObject(DEFAULT_GUI_FONT));
    TEXTMETRICA metrics{};
    GetTextMetricsA(screen.Get(), &metrics);
    return metrics.tmHeight;
}

void TLabel::Paint(HDC Dc)
{
    if (FCaption.empty())
        return;
    TSelectObject font(Dc, FFont ? FFont.Get() : GetStockObject(DEFAULT_GUI_FONT));
    const int oldMode = SetBkMode(Dc, TRANSPARENT);
    const COLORREF oldColor = SetTextColor(Dc, FColor);
    const TRect b = BoundsRect();
    RECT r{b.Left, b.Top, b.Right, b.Bottom};
    const UINT align = FAlignment == TAlignment::Centre ? DT_CENTER : FAlignment == TAlignment::Right ? DT_RIGHT : DT_LEFT;
    DrawTextA(Dc, FCaption.c_str(), static_cast<int>(FCaption.size()), &r, DT_SINGLELINE | DT_NOPREFIX | DT_TOP | align);
    SetTextColor(Dc, oldColor);
    SetBkMode(Dc, oldMode);
}

// ---- panel -----------------------------------------------------------------------

TPanel::TPanel(TForm& Parent) : FBrush(CreateSolidBrush(RGB(0, 0, 0)))
{
    RegisterWindowClass("TPanel", &WindowProc);
    FWindow.Reset(CreateWindowExA(0, "TPanel", "", WS_CHILD | WS_CLIPCHILDREN, 0, 0, 0, 0, Parent.Handle(), nullptr,
                                  GetModuleHandleA(nullptr), nullptr));
    SetWindowLongPtrA(FWindow.Get(), GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
}

LRESULT CALLBACK TPanel::WindowProc(HWND Window, UINT Message, WPARAM WParam, LPARAM LParam)
{
    auto* panel = reinterpret_cast<TPanel*>(GetWindowLongPtrA(Window, GWLP_USERDATA));
    if (panel) {
        if (Message == WM_ERASEBKGND) {
            RECT r;
            GetClientRect(Window, &r);
            FillRect(reinterpret_cast<HDC>(WParam), &r, panel->FBrush.Get());
            return 1;
        }
        if (Message == WM_SETCURSOR && panel->CursorHidden && LOWORD(LParam) == HTCLIENT) {
            SetCursor(nullptr);
            return TRUE;
        }
    }
    return DefWindowProcA(Window, Message, WParam, LParam);
}

void TPanel::SetBounds(const TRect& Bounds)
{
    MoveWindow(Handle(), Bounds.Left, Bounds.Top, Bounds.Width(), Bounds.Height(), TRUE);
}

bool TPanel::Visible() const { return IsWindowVisible(Handle()) != FALSE; }

void TPanel::SetVisible(bool Value) { ShowWindow(Handle(), Value ? SW_SHOWNA : SW_HIDE); }

void TPanel::SetColor(COLORREF Color)
{
    FBrush.Reset(CreateSolidBrush(Color));
    InvalidateRect(Handle(), nullptr, TRUE);
}

// ---- timer -----------------------------------------------------------------------

TTimer::TTimer()
{
    FWindow = CreateMessageWindow("TTimer", &WindowProc, this, "counts a timer");
}

TTimer::~TTimer()
{
    KillTimer(FWindow.Get(), 1);
    SetWindowLongPtrA(FWindow.Get(), GWLP_USERDATA, 0);
}

LRESULT CALLBACK TTimer::WindowProc(HWND Window, UINT Message, WPARAM WParam, LPARAM LParam)
{
    if (Message == WM_TIMER)
        if (auto* timer = reinterpret_cast<TTimer*>(GetWindowLongPtrA(Window, GWLP_USERDATA)))
            if (timer->FEnabled && timer->OnTimer)
                timer->OnTimer(*timer);
    return DefWindowProcA(Window, Message, WParam, LParam);
}

void TTimer::SetEnabled(bool Value)
{
    if (Value == FEnabled)
        return;
    FEnabled = Value;
    Update();
}

void TTimer::SetInterval(std::uint32_t Value)
{
    if (Value == FInterval)
        return;
    FInterval = Value;
    Update();
}

void TTimer::Update()
{
    KillTimer(FWindow.Get(), 1);
    if (FEnabled && FInterval > 0)
        SetTimer(FWindow.Get(), 1, FInterval, nullptr);
}

}  // namespace spindrel::win32
