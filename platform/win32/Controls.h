// The controls the forms are made of: a transparent text label drawn by its form,
// a panel with a window of its own (hosts other windows), and a timer.
#pragma once

#include <windows.h>

#include <cstdint>
#include <functional>
#include <string>

#include "platform/win32/Form.h"
#include "platform/win32/Handles.h"

namespace spindrel::win32 {

struct TFont {
    std::string Name = "MS Sans Serif";
    int Size = 8;  // points
    bool Bold = false, Italic = false, Underline = false, StrikeOut = false;
    BYTE Charset = DEFAULT_CHARSET;
    COLORREF Color = RGB(0, 0, 0);
};

enum class TAlignment { Left, Centre, Right };

// One line of text on its form, with nothing painted behind it.
class TLabel : public TGraphicControl {
public:
    using TGraphicControl::TGraphicControl;

    const std::string& Caption() const { return FCaption; }
    void SetCaption(const std::string& Value);
    void SetFont(const TFont& Font);
    void SetAlignment(TAlignment Value);
    // The height of one line in the label's font, in pixels.
    int LineHeight() const;

    void Paint(HDC Dc) override;

private:
    std::string FCaption;
    TScopedFont FFont;
    COLORREF FColor = RGB(0, 0, 0);
    TAlignment FAlignment = TAlignment::Left;
};

// A child window filled with one colour.
class TPanel {
public:
    explicit TPanel(TForm& Parent);  // hidden
    TPanel(const TPanel&) = delete;
    TPanel& operator=(const TPanel&) = delete;

    HWND Handle() const { return FWindow.Get(); }
    void SetBounds(const TRect& Bounds);
    bool Visible() const;
    void SetVisible(bool Value);
    void SetColor(COLORREF Color);
    bool CursorHidden = false;

private:
    static LRESULT CALLBACK WindowProc(HWND Window, UINT Message, WPARAM WParam, LPARAM LParam);

    TScopedWindow FWindow;
    TScopedBrush FBrush;
};

// Calls OnTimer every Interval milliseconds while enabled, from the message loop.
// A change of Interval while enabled starts the count again.
class TTimer {
public:
    TTimer();
    ~TTimer();
    TTimer(const TTimer&) = delete;
    TTimer& operator=(const TTimer&) = delete;

    bool Enabled() const { return FEnabled; }
    void SetEnabled(bool Value);
    std::uint32_t Interval() const { return FInterval; }
    void SetInterval(std::uint32_t Value);

    std::function<void(TTimer& Sender)> OnTimer;

private:
    static LRESULT CALLBACK WindowProc(HWND Window, UINT Message, WPARAM WParam, LPARAM LParam);
    void Update();

    TScopedWindow FWindow;  // message-only, receives the ticks
    bool FEnabled = false;
    std::uint32_t FInterval = 1000;
};

}  // namespace spindrel::win32
