#include "platform/win32/Form.h"

#include <algorithm>

#include "platform/win32/WindowClass.h"

namespace spindrel::win32 {

namespace {

RECT ToRECT(const TRect& R) { return {R.Left, R.Top, R.Right, R.Bottom}; }

bool Covers(const TRect& Outer, const RECT& Inner)
{
    return Outer.Left <= Inner.left && Outer.Top <= Inner.top && Outer.Right >= Inner.right &&
           Outer.Bottom >= Inner.bottom;
}

bool Meets(const TRect& A, const RECT& B)
{
    return A.Left < B.right && B.left < A.Right && A.Top < B.bottom && B.top < A.Bottom;
}

}  // namespace

// ---- graphic controls ------------------------------------------------------------

TGraphicControl::TGraphicControl(TForm& Parent) : FParent(Parent) { FParent.FControls.push_back(this); }

TGraphicControl::~TGraphicControl() { std::erase(FParent.FControls, this); }

void TGraphicControl::SetBounds(const TRect& Bounds)
{
    if (Bounds == FBounds)
        return;
    Invalidate();
    FBounds = Bounds;
    Invalidate();
}

void TGraphicControl::SetVisible(bool Value)
{
    if (Value == FVisible)
        return;
    FVisible = Value;
    Invalidate();
}

void TGraphicControl::Invalidate() { FParent.Invalidate(FBounds); }

// ---- forms -----------------------------------------------------------------------

TForm::TForm(TApplication& App, const char* ClassName, const char* Caption, TFormStyle Style) : Application(App)
{
    const HINSTANCE instance = GetModuleHandleA(nullptr);
    RegisterWindowClass(ClassName, &StaticWindowProc, LoadIconA(instance, MAKEINTRESOURCEA(1)));
    FWindow.Reset(CreateWindowExA(Style.ExStyle, ClassName, Caption, Style.Style, 0, 0, 0, 0, nullptr, nullptr,
                                  instance, this));
}

TForm::~TForm()
{
    if (FWindow)
        SetWindowLongPtrA(FWindow.Get(), GWLP_USERDATA, 0);  // no message reaches a half-destroyed form
}

LRESULT CALLBACK TForm::StaticWindowProc(HWND Window, UINT Message, WPARAM WParam, LPARAM LParam)
{
    if (Message == WM_NCCREATE) {
        auto* form = static_cast<TForm*>(reinterpret_cast<CREATESTRUCTA*>(LParam)->lpCreateParams);
        SetWindowLongPtrA(Window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(form));
        form->FHandle = Window;
    }
    auto* form = reinterpret_cast<TForm*>(GetWindowLongPtrA(Window, GWLP_USERDATA));
    if (!form)
        return DefWindowProcA(Window, Message, WParam, LParam);
    if (Message == WM_NCDESTROY) {
        SetWindowLongPtrA(Window, GWLP_USERDATA, 0);
        form->FWindow.Release();  // already going
        form->FHandle = nullptr;
        if (form->Application.MainWindow() == Window)
            form->Application.MainWindowDestroyed();
        return DefWindowProcA(Window, Message, WParam, LParam);
    }
    return form->WindowProc(Message, WParam, LParam);
}

LRESULT TForm::WindowProc(UINT Message, WPARAM WParam, LPARAM LParam)
{
    switch (Message) {
    case WM_PAINT: PaintWindow(); return 0;
    case WM_ERASEBKGND: return 1;  // the paint covers everything
    case WM_SETCURSOR:
        if (CursorHidden && LOWORD(LParam) == HTCLIENT) {
            SetCursor(nullptr);
            return TRUE;
        }
        break;
    case WM_CLOSE: Close(); return 0;
    }
    return DefWindowProcA(Handle(), Message, WParam, LParam);
}

void TForm::SetBounds(int Left, int Top, int Width, int Height)
{
    SetWindowPos(Handle(), nullptr, Left, Top, Width, Height, SWP_NOZORDER | SWP_NOACTIVATE);
}

void TForm::Show()
{
    FormShow();
    ShowWindow(Handle(), SW_SHOW);
    SetForegroundWindow(Handle());
    UpdateWindow(Handle());
}

void TForm::Close()
{
    if (FClosing || !FWindow)
        return;
    FClosing = true;
    FormClose();
    FWindow.Reset();
}

void TForm::Invalidate(const TRect& R)
{
    const RECT r = ToRECT(R);
    InvalidateRect(Handle(), &r, FALSE);
}

void TForm::PaintWindow()
{
    PAINTSTRUCT paint;
    HDC screen = BeginPaint(Handle(), &paint);
    const RECT& update = paint.rcPaint;
    RECT client;
    GetClientRect(Handle(), &client);
    HDC buffer = DoubleBuffered ? FBuffer.Prepare(screen, client.right, client.bottom) : nullptr;
    if (buffer) {
        const int saved = SaveDC(buffer);
        IntersectClipRect(buffer, update.left, update.top, update.right, update.bottom);
        PaintLayers(buffer, update);
        RestoreDC(buffer, saved);
        BitBlt(screen, update.left, update.top, update.right - update.left, update.bottom - update.top, buffer,
               update.left, update.top, SRCCOPY);
    } else {
        PaintLayers(screen, update);
    }
    EndPaint(Handle(), &paint);
}

// From the topmost opaque control that covers the update up: what lies under it
// would be painted over anyway.
void TForm::PaintLayers(HDC Dc, const RECT& Update)
{
    std::size_t first = 0;
    bool covered = false;
    for (std::size_t i = FControls.size(); i-- > 0 && !covered;)
        if (FControls[i]->Visible() && FControls[i]->Opaque() && Covers(FControls[i]->BoundsRect(), Update)) {
            first = i;
            covered = true;
        }
    if (!covered) {
        TScopedBrush brush(CreateSolidBrush(Color));
        FillRect(Dc, &Update, brush.Get());
        FormPaint(Dc);
    }
    for (std::size_t i = first; i < FControls.size(); ++i)
        if (FControls[i]->Visible() && Meets(FControls[i]->BoundsRect(), Update))
            FControls[i]->Paint(Dc);
}

}  // namespace spindrel::win32
