// Forms: a top-level window that paints itself and the graphic controls on it
// (controls without a window of their own, in z-order) into a back buffer, and
// reaches the screen with one copy of what changed.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "platform/graphics/Rect.h"
#include "platform/win32/Application.h"
#include "platform/win32/Gdi.h"
#include "platform/win32/Handles.h"

namespace spindrel::win32 {

class TForm;

class TGraphicControl {
public:
    explicit TGraphicControl(TForm& Parent);  // placed above the controls made before it
    virtual ~TGraphicControl();
    TGraphicControl(const TGraphicControl&) = delete;
    TGraphicControl& operator=(const TGraphicControl&) = delete;

    TRect BoundsRect() const { return FBounds; }
    void SetBounds(const TRect& Bounds);
    bool Visible() const { return FVisible; }
    void SetVisible(bool Value);
    void Invalidate();  // repaint the control's area (and what lies under it)

    // Paints on the parent's canvas, in parent coordinates, clipped to the update.
    virtual void Paint(HDC Dc) = 0;
    // Covers its whole area, so nothing under it needs painting.
    virtual bool Opaque() const { return false; }

protected:
    TForm& Parent() { return FParent; }

private:
    TForm& FParent;
    TRect FBounds;
    bool FVisible = true;
};

struct TFormStyle {
    DWORD Style = WS_POPUP;
    DWORD ExStyle = 0;
};

class TForm {
public:
    // Registers the window class ClassName and creates the window, hidden.
    TForm(TApplication& Application, const char* ClassName, const char* Caption, TFormStyle Style);
    virtual ~TForm();
    TForm(const TForm&) = delete;
    TForm& operator=(const TForm&) = delete;

    HWND Handle() const { return FHandle; }
    TMainThread& MainThread() { return Application.MainThread(); }
    void SetBounds(int Left, int Top, int Width, int Height);
    void Show();   // FormShow, then the window appears and is painted
    void Close();  // FormClose, then the window goes (ending the program when it is the main one)
    void Invalidate(const TRect& R);
    void Update() { UpdateWindow(Handle()); }

    COLORREF Color = RGB(0, 0, 0);
    bool DoubleBuffered = false;
    bool CursorHidden = false;  // the pointer is not drawn over the client area

protected:
    virtual void FormShow() {}
    virtual void FormPaint(HDC) {}
    virtual void FormClose() {}
    // The window's messages; the default handles painting, the pointer and closing.
    virtual LRESULT WindowProc(UINT Message, WPARAM WParam, LPARAM LParam);

    TApplication& Application;

private:
    friend class TGraphicControl;
    static LRESULT CALLBACK StaticWindowProc(HWND Window, UINT Message, WPARAM WParam, LPARAM LParam);
    void PaintWindow();
    void PaintLayers(HDC Dc, const RECT& Update);

    std::vector<TGraphicControl*> FControls;  // bottom first
    HWND FHandle = nullptr;  // known from the first message on, before creation returns
    TScopedWindow FWindow;
    TBackBuffer FBuffer;
    bool FClosing = false;
};

}  // namespace spindrel::win32
