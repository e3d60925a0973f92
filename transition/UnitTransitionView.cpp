// The component's behaviour: properties, preparing and running a transition,
// composing each frame, painting, and the worker thread.
#include "transition/UnitTransitionView.h"

#include <algorithm>
#include <utility>

#include "platform/graphics/Stretch.h"
#include "platform/thread/ThreadPriority.h"
#include "shared/UnitGlobe.h"
#include "transition/RectanglePixelStyles.h"

namespace spindrel {

// ---- the worker ------------------------------------------------------------------

TAnimateThread::TAnimateThread(TCustomTransitionView& Owner) : Control(Owner), FThread([this] { Execute(); }) {}

TAnimateThread::~TAnimateThread()
{
    if (FThread.joinable())
        FThread.join();
}

void TAnimateThread::Execute()
{
    TMainThread& main = Control.FMainThread;
    SetCurrentThreadPriority(static_cast<int>(Control.FThreadPriority));
    std::exception_ptr error;
    while (!FTerminated && !Control.FManual && !Control.FStopping) {
        const std::uint32_t t0 = main.TickCount();
        try {
            main.Synchronize([this] {
                Control.FInWorkerStep = true;
                struct TLeave {
                    bool& Flag;
                    ~TLeave() { Flag = false; }
                } leave{Control.FInWorkerStep};
                Control.AnimationStep();
            });
        } catch (...) {
            error = std::current_exception();
            break;
        }
        const std::uint32_t dt = main.TickCount() - t0;
        if (Control.AtEnd())
            FTerminated = true;
        else if (dt < Control.FDelay)
            main.Sleep(Control.FDelay - dt);
    }
    // The termination handler runs on the main thread; nothing of this object is touched after it
    // but the flag that lets the main thread join.
    main.Synchronize([this, error] { Control.WorkerEnded(this, error); });
    FEnded = true;
}

// ---- creation and properties -----------------------------------------------------

TCustomTransitionView::TCustomTransitionView(TTransitionHost& Host, TMainThread& MainThread)
    : FHost(Host), FMainThread(MainThread)
{
}

TCustomTransitionView::~TCustomTransitionView()
{
    FDestroying = true;
    RetireWorker();
    for (auto& worker : FRetiredWorkers)
        worker->Terminate();
    FMainThread.WaitServing([this] {
        return std::all_of(FRetiredWorkers.begin(), FRetiredWorkers.end(), [](auto& w) { return w->Ended(); });
    });
    FRetiredWorkers.clear();
}

void TCustomTransitionView::SetPicture(const TBitmap& Value)
{
    FPicture = Value;
    PictureChanged();
}

void TCustomTransitionView::SetPicture(TBitmap&& Value)
{
    FPicture = std::move(Value);
    PictureChanged();
}

void TCustomTransitionView::SetBgPicture(const TBitmap& Value)
{
    FBgPicture = Value;
    BgPictureChanged();
}

void TCustomTransitionView::PictureChanged()
{
    if (FDestroying)
        return;
    if (!FPicture.Empty() && FAutoSize)
        AdjustClientSize();
    if (OnChange)
        OnChange(*this);
}

void TCustomTransitionView::BgPictureChanged()
{
    if (FBgMode != TBackgroundMode::bmNone && !FPainting)
        Repaint();
}

void TCustomTransitionView::AdjustClientSize()
{
    if (!FPicture.Empty() && !FAligned)
        SetBounds(FLeft, FTop, FPicture.Width(), FPicture.Height());
}

void TCustomTransitionView::SetBgMode(TBackgroundMode Value)
{
    if (FBgMode == Value)
        return;
    FBgMode = Value;
    if (!FBgPicture.Empty() && !FPainting)
        Repaint();
}

void TCustomTransitionView::SetAutoSize(bool Value)
{
    if (FAutoSize == Value)
        return;
    FAutoSize = Value;
    if (Value)
        AdjustClientSize();
}

void TCustomTransitionView::SetCenter(bool Value)
{
    if (FCenter == Value)
        return;
    FCenter = Value;
    if (!FPicture.Empty()) {
        ComputePictureRect();
        if (!FFrameBitmap.Empty() && !FPainting)
            Repaint();
    }
}

void TCustomTransitionView::SetStretch(bool Value)
{
    if (FStretch == Value)
        return;
    FStretch = Value;
    if (!FFrameBitmap.Empty() && !FPainting)
        Repaint();
}

void TCustomTransitionView::SetStretchFine(bool Value)
{
    if (FStretchFine == Value)
        return;
    FStretchFine = Value;
    if (!FFrameBitmap.Empty() && !FPainting)
        Repaint();
}

void TCustomTransitionView::SetStep(int Value) { FStep = static_cast<std::uint16_t>(std::clamp(Value, 1, 100)); }

void TCustomTransitionView::SetManual(bool Value)
{
    if (FManual == Value)
        return;
    FManual = Value;
    if (!FBusy)
        FProgress = FReverse ? 100 : 0;
    else if (!Value && !FWorker)
        RunAnimation();
    // A worker still running when Manual returns to False simply carries on.
}

void TCustomTransitionView::SetBounds(int Left, int Top, int Width, int Height)
{
    const bool resized = Width != FWidth || Height != FHeight;
    FLeft = Left;
    FTop = Top;
    FWidth = std::max(Width, 0);
    FHeight = std::max(Height, 0);
    if (resized && !FPicture.Empty()) {
        ComputePictureRect();
        if (!FFrameBitmap.Empty() && !FPainting)
            Repaint();
    }
}

void TCustomTransitionView::Repaint()
{
    if (FDestroying)
        return;
    FHost.InvalidateParentRect(BoundsRect());
    FHost.UpdateParent();
}

// ---- running a transition --------------------------------------------------------

void TCustomTransitionView::Execute()
{
    if (FBusy || FPicture.Empty())
        return;
    FBusy = true;
    try {
        PrepareTransition();
        if (!FManual)
            RunAnimation();
    } catch (...) {
        ReleaseWorkBitmaps();
        FBusy = false;
        throw;
    }
}

void TCustomTransitionView::PrepareTransition()
{
    FFrameBitmap.SetSize(FPicture.Width(), FPicture.Height());
    FillRect(FFrameBitmap, FFrameBitmap.Bounds(), FColor);
    ComputePictureRect();
    FSnapshot = std::make_unique<TBitmap>(FFrameBitmap.Width(), FFrameBitmap.Height());
    const TRect area = !FStretch   ? FPictureRect
                       : FStretchFine ? AspectFitRect(FPictureRect, ClientRect())
                                      : ClientRect();
    // A control that was never painted has no image yet: it looks like an empty control.
    FillRect(*FSnapshot, FSnapshot->Bounds(), FColor);
    if (!FPaintBuffer.Empty())
        StretchCopy(*FSnapshot, FSnapshot->Bounds(), FPaintBuffer, area);
    FNewPicture = std::make_unique<TBitmap>(FFrameBitmap.Width(), FFrameBitmap.Height());
    Draw(*FNewPicture, 0, 0, FPicture);
    SetProgress(FReverse ? 100 : 0);
}

void TCustomTransitionView::RunAnimation()
{
    if (FThreaded) {
        ReapWorkers();
        RetireWorker();
        FWorker = std::make_unique<TAnimateThread>(*this);
        return;
    }
    bool done = false;
    do {
        const std::uint32_t t0 = FMainThread.TickCount();
        AnimationStep();
        done = AtEnd();
        while (!done && FBusy && !FManual && !FStopping && FMainThread.TickCount() - t0 <= FDelay)
            FMainThread.ProcessMessages();
    } while (!done && FBusy && !FManual && !FStopping);
    if (done)
        FinishTransition();
}

void TCustomTransitionView::AnimationStep()
{
    if (FReverse)
        SetProgress(FProgress < FStep ? 0 : FProgress - FStep);
    else
        SetProgress(FProgress + FStep);
}

void TCustomTransitionView::SetProgress(int Value)
{
    const int v = std::clamp(Value, 0, 100);
    if (!FBusy || v == FProgress)
        return;
    if (v < FProgress && !FPainting)
        InvalidatePictureArea(FFrameBitmap.Bounds());
    FProgress = static_cast<std::uint8_t>(v);
    {
        // A Stop asked for by a handler of this frame waits for the frame to end: the
        // frame still needs its bitmaps.
        FInFrame = true;
        struct TLeave {
            bool& Flag;
            ~TLeave() { Flag = false; }
        } leave{FInFrame};
        ComposeFrame();
        if (OnProgress && !FDestroying)
            OnProgress(*this);
    }
    if (FStopAfterFrame) {
        FStopAfterFrame = false;
        StopNow(!FInWorkerStep);
    }
}

void TCustomTransitionView::ComposeFrame()
{
    std::unique_lock frameLock(FFrameLock);
    // The pixel styles write every pixel and can read the old image from the
    // snapshot itself, unless a handler is to find it in the frame first.
    const int style = FStyle;
    const TStyleEntry* pixelsFromSnapshot =
        style <= 127 && !OnBeforeNewFrame && StyleEntry(style).Class == TStyleClass::Pixel ? &StyleEntry(style)
                                                                                           : nullptr;
    if (!pixelsFromSnapshot)
        Draw(FFrameBitmap, 0, 0, *FSnapshot);
    if (OnBeforeNewFrame)
        OnBeforeNewFrame(*this, *FNewPicture, FFrameBitmap);
    const int w = FNewPicture->Width(), h = FNewPicture->Height();
    const int progress = FProgress;
    const auto [x, y] = ProgressExtents(w, h, progress);
    const int j = BandMargin(w, h, FStep);
    if (!pixelsFromSnapshot && FStyle > 127)
        return;
    FRegion.Clear();
    FSpareRegion.Clear();
    TStyleFrame frame{FFrameBitmap, *FNewPicture, w, h, x, y, j, progress, {0, 0, w, h}, {0, 0, w, h},
                      FRegion, FSpareRegion, FRandom, *this, FScratch};
    // A frame begun without the snapshot ends with the style that allowed it.
    const TStyleEntry& entry = pixelsFromSnapshot ? *pixelsFromSnapshot : StyleEntry(FStyle);
    if (pixelsFromSnapshot) {
        ComposePixelStyle(frame, entry, *FSnapshot);
    } else if (entry.Class != TStyleClass::Custom) {
        entry.Compose(frame, entry);
    } else if (OnCustomDraw) {
        OnCustomDraw(*this, *FNewPicture, FFrameBitmap);
    } else if (FReverse) {
        FProgress = 0;  // straight to the end of a reversed run: the old image
    } else {
        Draw(FFrameBitmap, 0, 0, *FNewPicture);  // an instant cut
        FProgress = 100;
    }
    FinalDrawing(entry, frame);
    InvalidatePictureArea(frame.D);
    frameLock.unlock();
    if (OnAfterNewFrame)
        OnAfterNewFrame(*this, *FNewPicture, FFrameBitmap);
    if (!FPainting && !FDestroying)
        FHost.UpdateParent();
}

void TCustomTransitionView::FinalDrawing(const TStyleEntry& Entry, TStyleFrame& Frame)
{
    if (FProgress == 100) {
        Draw(FFrameBitmap, 0, 0, *FNewPicture);
        return;
    }
    if (FProgress == 0)
        return;
    switch (Entry.Class) {
    case TStyleClass::Rectangle: StretchCopy(FFrameBitmap, Frame.D, *FNewPicture, Frame.S); break;
    case TStyleClass::Region:
        if (!FRegion.Empty())
            DrawThroughRegion(FFrameBitmap, *FNewPicture, FRegion);
        break;
    case TStyleClass::Custom:
    case TStyleClass::Pixel: break;
    }
}

void TCustomTransitionView::FinishTransition()
{
    RetireWorker();
    if (!FStopping && FManual)
        return;
    FBusy = false;
    ReleaseWorkBitmaps();
    if (OnComplete && !FDestroying && !FStopping)
        OnComplete(*this);
}

void TCustomTransitionView::WorkerEnded(TAnimateThread* Worker, std::exception_ptr Error)
{
    if (Worker != FWorker.get())
        return;  // it was stopped from inside one of its own steps, and retired then
    if (Error) {
        // A failed frame ends the run as Stop would, and the host learns why.
        const bool stopping = FStopping;
        FStopping = true;
        FinishTransition();
        FStopping = stopping;
        FHost.HandleException(Error);
        return;
    }
    if (!AtEnd() && !FStopping && !FDestroying && !FManual) {
        // Manual went on and off again before this worker ended: carry on with a new one.
        RunAnimation();
        return;
    }
    FinishTransition();
}

void TCustomTransitionView::Stop()
{
    if (!FBusy || FStopping)
        return;
    if (FInFrame) {
        FStopAfterFrame = true;
        return;
    }
    StopNow(true);
}

// Waiting is impossible from inside the worker's own step (it waits for that step to
// return); then the worker is only told to end and retired, to be joined once it has.
void TCustomTransitionView::StopNow(bool WaitForWorker)
{
    FStopping = true;
    struct TResetStopping {
        std::atomic<bool>& Flag;
        ~TResetStopping() { Flag = false; }
    } reset{FStopping};
    if (FWorker && WaitForWorker) {
        TAnimateThread* worker = FWorker.get();
        worker->Terminate();
        FMainThread.WaitServing([worker] { return worker->Ended(); });  // its last step and FinishTransition run here
        RetireWorker();
        ReapWorkers();
        return;
    }
    if (FWorker)
        FWorker->Terminate();
    FinishTransition();
}

void TCustomTransitionView::ReleaseWorkBitmaps()
{
    FNewPicture.reset();
    FSnapshot.reset();
}

void TCustomTransitionView::RetireWorker()
{
    if (FWorker)
        FRetiredWorkers.push_back(std::move(FWorker));
}

void TCustomTransitionView::ReapWorkers()
{
    std::erase_if(FRetiredWorkers, [](const auto& worker) { return worker->Ended(); });  // joins: they have returned
}

void TCustomTransitionView::Clear()
{
    if (FBusy || FFrameBitmap.Empty())
        return;
    std::unique_lock lock(FFrameLock, std::try_to_lock);
    if (!lock.owns_lock())
        return;
    lock.unlock();
    FFrameBitmap.Release();
    Repaint();
}

// ---- geometry and painting -------------------------------------------------------

void TCustomTransitionView::ComputePictureRect()
{
    if (FFrameBitmap.Empty())
        return;
    FPictureRect = FFrameBitmap.Bounds();
    if (FCenter) {
        const int dx = (FWidth - FFrameBitmap.Width()) / 2, dy = (FHeight - FFrameBitmap.Height()) / 2;
        FPictureRect = {dx, dy, dx + FFrameBitmap.Width(), dy + FFrameBitmap.Height()};
    }
}

TRect TCustomTransitionView::AspectFitRect(const TRect& Source, const TRect& Target)
{
    const int sw = Source.Width(), sh = Source.Height(), tw = Target.Width(), th = Target.Height();
    int width, height;
    if (static_cast<double>(th) / sh > static_cast<double>(tw) / sw) {
        height = MulDiv(sh, tw, sw);
        width = MulDiv(sw, tw, sw);
    } else {
        width = MulDiv(sw, th, sh);
        height = MulDiv(sh, th, sh);
    }
    const int left = Target.Left + (tw - width) / 2, top = Target.Top + (th - height) / 2;
    return {left, top, left + width, top + height};
}

void TCustomTransitionView::InvalidatePictureArea(const TRect& Area)
{
    TRect r = Area;
    if (FStretch) {
        const TRect t = FStretchFine ? AspectFitRect(FPictureRect, ClientRect()) : ClientRect();
        const int pw = FPictureRect.Width(), ph = FPictureRect.Height();
        r = {t.Left + MulDiv(r.Left, t.Width(), pw), t.Top + MulDiv(r.Top, t.Height(), ph),
             t.Left + MulDiv(r.Right, t.Width(), pw), t.Top + MulDiv(r.Bottom, t.Height(), ph)};
    } else {
        if (FCenter)
            r = {r.Left + FPictureRect.Left, r.Top + FPictureRect.Top, r.Right + FPictureRect.Left,
                 r.Bottom + FPictureRect.Top};
        r = {std::max(r.Left, FPictureRect.Left), std::max(r.Top, FPictureRect.Top),
             std::min(r.Right, FPictureRect.Right), std::min(r.Bottom, FPictureRect.Bottom)};
    }
    if (FDestroying)
        return;
    FHost.InvalidateParentRect({r.Left + FLeft, r.Top + FTop, r.Right + FLeft, r.Bottom + FTop});
}

void TCustomTransitionView::TileGraphic(TBitmap& Canvas, const TRect& R, const TBitmap& Graphic)
{
    if (Graphic.Empty())
        return;
    const int rows = R.Height() / Graphic.Height() + 1, columns = R.Width() / Graphic.Width() + 1;
    for (int i = 0; i < rows; ++i)
        for (int j = 0; j < columns; ++j)
            Draw(Canvas, R.Left + j * Graphic.Width(), R.Top + i * Graphic.Height(), Graphic);
}

void TCustomTransitionView::PaintMessage()
{
    if (!FMainThread.IsMainThread() || FPainting)
        return;
    FPainting = true;
    struct TResetPainting {
        bool& Flag;
        ~TResetPainting() { Flag = false; }
    } reset{FPainting};
    Paint();
}

void TCustomTransitionView::Paint()
{
    if (FPaintBuffer.Width() != FWidth || FPaintBuffer.Height() != FHeight)
        FPaintBuffer.SetSize(FWidth, FHeight);
    const TRect client = ClientRect();
    FillRect(FPaintBuffer, client, FColor);
    if (!FBgPicture.Empty()) {
        switch (FBgMode) {
        case TBackgroundMode::bmTiled: TileGraphic(FPaintBuffer, client, FBgPicture); break;
        case TBackgroundMode::bmStretched: StretchCopy(FPaintBuffer, client, FBgPicture, FBgPicture.Bounds()); break;
        case TBackgroundMode::bmCentered:
            Draw(FPaintBuffer, (FWidth - FBgPicture.Width()) / 2, (FHeight - FBgPicture.Height()) / 2, FBgPicture);
            break;
        case TBackgroundMode::bmNone: break;
        }
    }
    if (!FFrameBitmap.Empty()) {
        if (!FStretch)
            Draw(FPaintBuffer, FPictureRect.Left, FPictureRect.Top, FFrameBitmap);
        else
            StretchCopy(FPaintBuffer, FStretchFine ? AspectFitRect(FPictureRect, client) : client, FFrameBitmap,
                        FFrameBitmap.Bounds());
    }
    FHost.PresentPaint(FPaintBuffer, FLeft, FTop);
}

void TCustomTransitionView::MouseEnter()
{
    if (OnMouseEnter)
        OnMouseEnter(*this);
}

void TCustomTransitionView::MouseLeave()
{
    if (OnMouseLeave)
        OnMouseLeave(*this);
}

}  // namespace spindrel
