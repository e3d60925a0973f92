#include "platform/win32/TransitionControl.h"

namespace spindrel::win32 {

TTransitionControl::TTransitionControl(TForm& Parent)
    : TGraphicControl(Parent), View(*this, Parent.MainThread())
{
}

void TTransitionControl::SetBounds(const TRect& Bounds)
{
    TGraphicControl::SetBounds(Bounds);
    View.SetBounds(Bounds.Left, Bounds.Top, Bounds.Width(), Bounds.Height());
}

void TTransitionControl::Paint(HDC Dc)
{
    FPaintDc = Dc;
    View.PaintMessage();
    FPaintDc = nullptr;
}

void TTransitionControl::InvalidateParentRect(const TRect& R)
{
    if (Visible())
        Parent().Invalidate(R);
}

void TTransitionControl::UpdateParent() { Parent().Update(); }

void TTransitionControl::PresentPaint(const TBitmap& Image, int Left, int Top)
{
    if (FPaintDc)
        DrawBitmap(FPaintDc, Image, Left, Top);
}

// A failing frame ends its run quietly: a show puts up no message.
void TTransitionControl::HandleException(std::exception_ptr) {}

}  // namespace spindrel::win32
