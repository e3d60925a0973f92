// A host that only paints, so the component's own snapshot holds the old picture.
#include "tools/render/TransitionFrames.h"

#include <stdexcept>

#include "platform/thread/MainThread.h"
#include "transition/UnitTransitionView.h"

namespace spindrel::render {

namespace {

class TPaintingHost : public TTransitionHost {
public:
    void InvalidateParentRect(const TRect&) override {}
    void UpdateParent() override
    {
        if (View)
            View->PaintMessage();
    }
    void PresentPaint(const TBitmap&, int, int) override {}
    void HandleException(std::exception_ptr Error) override { std::rethrow_exception(Error); }
    TCustomTransitionView* View = nullptr;
};

}  // namespace

void ComposeFrames(const TBitmap& Old, const TBitmap& New, const TFrameRequest& Request,
                   const std::vector<int>& Progresses, const std::function<void(int, const TBitmap&)>& Frame)
{
    if (Old.Width() != New.Width() || Old.Height() != New.Height())
        throw std::runtime_error("the old picture is " + std::to_string(Old.Width()) + "x" +
                                 std::to_string(Old.Height()) + " but the new one is " + std::to_string(New.Width()) +
                                 "x" + std::to_string(New.Height()) + "; they must be the same size");
    TPaintingHost host;
    TQueuedMainThread main;
    TTransitionView view(host, main);
    host.View = &view;
    view.SetThreaded(false);
    view.SetColor(0);
    view.SetStyle(0);
    view.SetPicture(Old);
    view.Execute();  // an instant cut: the control now shows the old picture
    view.SetManual(true);
    view.SetStyle(static_cast<TShowStyle>(Request.Style));
    view.SetStep(Request.Step);
    view.SetRandomSeed(Request.Seed);
    view.SetPicture(New);
    view.Execute();  // Manual has set Progress to 0 already, so this composes nothing
    for (int progress : Progresses) {
        if (progress == view.Progress())
            view.SetProgress(progress == 0 ? 1 : 0);  // a frame is composed only for a change
        view.SetProgress(progress);
        Frame(progress, view.FrameBitmap());
    }
    view.Stop();
}

}  // namespace spindrel::render
