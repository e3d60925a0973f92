// The picture-show component: shows one picture in an area of its parent window
// and replaces it by the next through one of 128 transition styles, stepped by a
// worker thread or by a message-pumping loop. Frames are composed off screen;
// the host window only invalidates, updates and presents.
#pragma once

#include <atomic>
#include <cstdint>
#include <exception>
#include <functional>
#include <memory>
#include <mutex>
#include <thread>
#include <vector>

#include "platform/graphics/Bitmap.h"
#include "platform/graphics/Region.h"
#include "platform/thread/MainThread.h"
#include "transition/TransitionStyles.h"

namespace spindrel {

using TShowStyle = std::uint8_t;  // 0..127; a larger value composes nothing

enum class TBackgroundMode : std::uint8_t { bmNone, bmTiled, bmStretched, bmCentered };

// The platform's seven thread priorities, idle to time-critical.
enum class TThreadPriority : std::uint8_t { tpIdle, tpLowest, tpLower, tpNormal, tpHigher, tpHighest, tpTimeCritical };

// Where the control meets its parent window.
class TTransitionHost {
public:
    virtual ~TTransitionHost() = default;
    // Marks R (parent coordinates) for repainting, without erasing.
    virtual void InvalidateParentRect(const TRect& R) = 0;
    // Paints what is marked, before returning (the control's paint runs from here).
    virtual void UpdateParent() = 0;
    // Puts a finished paint of the control on screen at its position in the parent.
    virtual void PresentPaint(const TBitmap& Image, int Left, int Top) = 0;
    // An exception ended a threaded run; the run was stopped without OnComplete.
    virtual void HandleException(std::exception_ptr Error) = 0;
};

class TCustomTransitionView;

// Steps a threaded transition: times each step and runs it on the main thread.
class TAnimateThread {
public:
    explicit TAnimateThread(TCustomTransitionView& Control);  // starts running at once
    ~TAnimateThread();  // waits for the thread to end
    TAnimateThread(const TAnimateThread&) = delete;
    TAnimateThread& operator=(const TAnimateThread&) = delete;

    void Terminate() { FTerminated = true; }
    bool Ended() const { return FEnded; }

    TCustomTransitionView& Control;

private:
    void Execute();

    std::atomic<bool> FTerminated{false};
    std::atomic<bool> FEnded{false};
    std::thread FThread;
};

class TCustomTransitionView : private TStyleHost {
public:
    using TNotifyEvent = std::function<void(TCustomTransitionView& Sender)>;
    using TCustomDrawEvent = std::function<void(TCustomTransitionView& Sender, TBitmap& Picture, TBitmap& Screen)>;

    TCustomTransitionView(TTransitionHost& Host, TMainThread& MainThread);
    virtual ~TCustomTransitionView();
    TCustomTransitionView(const TCustomTransitionView&) = delete;
    TCustomTransitionView& operator=(const TCustomTransitionView&) = delete;

    void Execute();
    void Stop();
    void Clear();

    std::uint8_t Progress() const { return FProgress; }
    void SetProgress(int Value);
    bool Busy() const { return FBusy; }

    // The picture the next transition leads to; an empty bitmap holds no graphic.
    const TBitmap& Picture() const { return FPicture; }
    void SetPicture(const TBitmap& Value);
    void SetPicture(TBitmap&& Value);  // takes the pixels over: a screen-sized picture is not copied
    const TBitmap& BgPicture() const { return FBgPicture; }
    void SetBgPicture(const TBitmap& Value);
    TBackgroundMode BgMode() const { return FBgMode; }
    void SetBgMode(TBackgroundMode Value);
    bool AutoSize() const { return FAutoSize; }
    void SetAutoSize(bool Value);
    bool Center() const { return FCenter; }
    void SetCenter(bool Value);
    bool Stretch() const { return FStretch; }
    void SetStretch(bool Value);
    bool StretchFine() const { return FStretchFine; }
    void SetStretchFine(bool Value);
    bool Manual() const { return FManual; }
    void SetManual(bool Value);
    std::uint16_t Step() const { return FStep; }
    void SetStep(int Value);  // 0 becomes 1, above 100 becomes 100
    // Plain stored values.
    TColor Color() const { return FColor; }
    void SetColor(TColor Value) { FColor = Value; }
    std::uint16_t Delay() const { return FDelay; }
    void SetDelay(std::uint16_t Value) { FDelay = Value; }
    TShowStyle Style() const { return FStyle; }
    void SetStyle(TShowStyle Value) { FStyle = Value; }
    bool Reverse() const { return FReverse; }
    void SetReverse(bool Value) { FReverse = Value; }
    bool Threaded() const { return FThreaded; }
    void SetThreaded(bool Value) { FThreaded = Value; }
    TThreadPriority ThreadPriority() const { return FThreadPriority; }
    void SetThreadPriority(TThreadPriority Value) { FThreadPriority = Value; }
    // Seeds the generator of the random styles.
    void SetRandomSeed(std::uint32_t Seed) { FRandom.SetSeed(Seed); }

    // The control's place in its parent.
    TRect BoundsRect() const { return {FLeft, FTop, FLeft + FWidth, FTop + FHeight}; }
    TRect ClientRect() const { return {0, 0, FWidth, FHeight}; }
    void SetBounds(int Left, int Top, int Width, int Height);
    bool Aligned() const { return FAligned; }
    void SetAligned(bool Value) { FAligned = Value; }

    const TBitmap& FrameBitmap() const { return FFrameBitmap; }
    const TBitmap& PaintBuffer() const { return FPaintBuffer; }
    TRect PictureRect() const { return FPictureRect; }

    // Messages from the parent window.
    void PaintMessage();  // ignored off the main thread and while painting
    void MouseEnter();
    void MouseLeave();

    TNotifyEvent OnChange, OnProgress, OnComplete, OnMouseEnter, OnMouseLeave;
    TCustomDrawEvent OnCustomDraw, OnBeforeNewFrame, OnAfterNewFrame;

    // Scaled placement of a source shape in a target, enlarging or shrinking, centred.
    static TRect AspectFitRect(const TRect& Source, const TRect& Target);
    // Draws Graphic unscaled in rows and columns over R, tiles cut by the canvas.
    static void TileGraphic(TBitmap& Canvas, const TRect& R, const TBitmap& Graphic);

protected:
    void Paint();

private:
    friend class TAnimateThread;

    void PictureChanged();
    void BgPictureChanged();
    void AdjustClientSize();
    void ComputePictureRect();
    void PrepareTransition();
    void RunAnimation();
    void AnimationStep();
    void ComposeFrame();
    void FinalDrawing(const TStyleEntry& Entry, TStyleFrame& Frame);
    void FinishTransition();
    void StopNow(bool WaitForWorker);
    void WorkerEnded(TAnimateThread* Worker, std::exception_ptr Error);
    void ReleaseWorkBitmaps();
    void RetireWorker();
    void ReapWorkers();
    bool AtEnd() const { return FReverse ? FProgress == 0 : FProgress == 100; }
    void InvalidatePictureArea(const TRect& R) override;
    void Repaint();

    TTransitionHost& FHost;
    TMainThread& FMainThread;

    TBitmap FPicture;
    TBitmap FBgPicture;
    TBackgroundMode FBgMode = TBackgroundMode::bmTiled;
    bool FAutoSize = true;
    bool FCenter = false;
    bool FStretch = false;
    bool FStretchFine = false;
    bool FThreaded = true;
    TThreadPriority FThreadPriority = TThreadPriority::tpNormal;
    // Read by the worker without a lock, written only here on the main thread.
    std::atomic<bool> FManual{false};
    TShowStyle FStyle = 51;
    std::uint16_t FStep = 4;
    std::atomic<std::uint16_t> FDelay{40};
    std::atomic<std::uint8_t> FProgress{0};
    std::atomic<bool> FReverse{false};
    bool FBusy = false;
    TColor FColor = 0xFFFFFF;  // the usual window colour

    TBitmap FFrameBitmap;
    std::mutex FFrameLock;  // held while a frame is composed; Clear only tries it
    TRect FPictureRect;
    std::unique_ptr<TAnimateThread> FWorker;
    std::vector<std::unique_ptr<TAnimateThread>> FRetiredWorkers;  // ending or ended; joined once ended
    bool FPainting = false;
    TBitmap FPaintBuffer;
    std::atomic<bool> FStopping{false};
    std::unique_ptr<TBitmap> FSnapshot;
    std::unique_ptr<TBitmap> FNewPicture;
    bool FDestroying = false;
    bool FInFrame = false;        // inside SetProgress's frame and its events
    bool FStopAfterFrame = false;
    bool FInWorkerStep = false;   // inside the worker's synchronised step

    int FLeft = 0, FTop = 0, FWidth = 100, FHeight = 100;
    bool FAligned = false;

    // Kept between frames, so a running transition allocates nothing.
    TRegion FRegion, FSpareRegion;
    std::vector<std::int32_t> FScratch;
    TRandom FRandom;
};

// The component as the forms use it; it adds nothing to the behaviour.
class TTransitionView : public TCustomTransitionView {
public:
    using TCustomTransitionView::TCustomTransitionView;
};

}  // namespace spindrel
