// The picture-show component on a form: a graphic control whose frames the
// component composes off screen and the form presents in its paint.
#pragma once

#include <windows.h>

#include <exception>

#include "platform/win32/Form.h"
#include "transition/UnitTransitionView.h"

namespace spindrel::win32 {

class TTransitionControl : public TGraphicControl, private TTransitionHost {
public:
    explicit TTransitionControl(TForm& Parent);

    TTransitionView View;

    // Places the control and the component together.
    void SetBounds(const TRect& Bounds);

    void Paint(HDC Dc) override;
    // The component fills its whole area before it draws (BgMode bmNone fills with Color).
    bool Opaque() const override { return true; }

private:
    void InvalidateParentRect(const TRect& R) override;
    void UpdateParent() override;
    void PresentPaint(const TBitmap& Image, int Left, int Top) override;
    void HandleException(std::exception_ptr Error) override;

    HDC FPaintDc = nullptr;  // set while the form paints the control
};

}  // namespace spindrel::win32
