// The picture-show component: its runs, events, states, threads and geometry,
// driven through a host that records what the component asks of its window.
#include <gtest/gtest.h>

#include <stdexcept>
#include <string>
#include <thread>

#include "transition/UnitTransitionView.h"

using namespace spindrel;

namespace {

TBitmap Filled(int Width, int Height, TColor Color)
{
    TBitmap bitmap(Width, Height);
    FillRect(bitmap, bitmap.Bounds(), Color);
    return bitmap;
}

// A parent window that paints the control whenever it is updated.
class TRecordingHost : public TTransitionHost {
public:
    void InvalidateParentRect(const TRect& R) override { Invalidated.push_back(R); }
    void UpdateParent() override
    {
        ++Updates;
        if (View)
            View->PaintMessage();
    }
    void PresentPaint(const TBitmap& Image, int Left, int Top) override
    {
        Screen = Image;
        PresentedAt = {Left, Top, Left + Image.Width(), Top + Image.Height()};
        if (OnPresent)
            OnPresent();
    }
    void HandleException(std::exception_ptr Error) override
    {
        try {
            std::rethrow_exception(Error);
        } catch (const std::exception& error) {
            Errors.push_back(error.what());
        }
    }

    TCustomTransitionView* View = nullptr;
    std::vector<TRect> Invalidated;
    int Updates = 0;
    TBitmap Screen;
    TRect PresentedAt;
    std::function<void()> OnPresent;
    std::vector<std::string> Errors;
};

class TransitionView : public ::testing::Test {
protected:
    TransitionView()
    {
        Host.View = &View;
        View.SetColor(Black);
        View.SetThreaded(false);
        View.SetDelay(0);
        View.OnBeforeNewFrame = [this](auto&, TBitmap&, TBitmap&) { Events += "b"; };
        View.OnAfterNewFrame = [this](auto&, TBitmap&, TBitmap&) { Events += "a"; };
        View.OnProgress = [this](auto& sender) {
            Events += "p";
            Progresses.push_back(sender.Progress());
        };
        View.OnComplete = [this](auto&) { Events += "c"; };
    }

    // Runs one whole non-threaded transition to a picture of Color.
    void RunTo(TColor Color, TShowStyle Style = 5)
    {
        View.SetStyle(Style);
        View.SetPicture(Filled(W, H, Color));
        View.Execute();
    }

    static constexpr TColor Black = 0, Red = 0x0000FF, Blue = 0xFF0000;
    static constexpr int W = 40, H = 30;
    TRecordingHost Host;
    TQueuedMainThread Main;
    TTransitionView View{Host, Main};
    std::string Events;
    std::vector<int> Progresses;
};

TEST_F(TransitionView, ANonThreadedRunStepsToTheEndWithItsEventsInOrder)
{
    RunTo(Red);
    EXPECT_FALSE(View.Busy());
    EXPECT_EQ(View.Progress(), 100);
    ASSERT_EQ(Progresses.size(), 25u);  // the first Execute starts at 0: its first frame is the first step's
    EXPECT_EQ(Progresses.front(), 4);
    EXPECT_EQ(Progresses.back(), 100);
    std::string expected;
    for (int i = 0; i < 25; ++i)
        expected += "bap";
    EXPECT_EQ(Events, expected + "c");
    EXPECT_EQ(View.FrameBitmap(), Filled(W, H, Red));
    EXPECT_EQ(Host.Screen.Pixel(W / 2, H / 2), Red);
}

TEST_F(TransitionView, ASecondRunStartsFromTheOldImageAndInvalidatesTheWholeFrame)
{
    RunTo(Red);
    Host.Invalidated.clear();
    Progresses.clear();
    TBitmap first;
    std::size_t invalidatedBeforeFirst = 0;
    View.OnAfterNewFrame = [&](auto&, TBitmap&, TBitmap& screen) {
        if (first.Empty()) {
            first = screen;
            invalidatedBeforeFirst = Host.Invalidated.size();
        }
    };
    RunTo(Blue);
    EXPECT_EQ(Progresses.front(), 0);  // SetProgress(0) from 100 composes the frame at 0
    EXPECT_EQ(first, Filled(W, H, Red));  // the snapshot: what the control showed
    ASSERT_GE(invalidatedBeforeFirst, 1u);
    EXPECT_EQ(Host.Invalidated.front(), (TRect{0, 0, W, H}));
    EXPECT_EQ(View.FrameBitmap(), Filled(W, H, Blue));
}

TEST_F(TransitionView, AManualRunWaitsForProgressAndResumes)
{
    RunTo(Red);
    View.SetManual(true);  // idle: Progress goes straight to the start value, no frame
    EXPECT_EQ(View.Progress(), 0);
    Events.clear();
    RunTo(Blue);
    EXPECT_TRUE(View.Busy());
    EXPECT_EQ(Events, "");  // nothing composed until the application moves it
    View.SetProgress(50);  // a wipe from the left: the left half is new
    EXPECT_EQ(View.FrameBitmap().Pixel(W / 2 - 1, 0), Blue);
    EXPECT_EQ(View.FrameBitmap().Pixel(W / 2, 0), Red);
    View.SetManual(false);  // resumes and runs to the end
    EXPECT_FALSE(View.Busy());
    EXPECT_EQ(Events.back(), 'c');
    EXPECT_EQ(View.FrameBitmap(), Filled(W, H, Blue));
}

TEST_F(TransitionView, ExecuteIsIgnoredWhileBusyOrWithoutAPicture)
{
    View.Execute();
    EXPECT_FALSE(View.Busy());
    View.SetManual(true);
    RunTo(Red);
    ASSERT_TRUE(View.Busy());
    View.SetPicture(Filled(W, H, Blue));
    View.Execute();
    View.SetProgress(100);
    EXPECT_EQ(View.FrameBitmap().Pixel(0, 0), Red);  // still the first run's picture
    View.Stop();
    EXPECT_FALSE(View.Busy());
    EXPECT_EQ(Events.find('c'), std::string::npos);
}

TEST_F(TransitionView, StepIsKeptWithin1And100)
{
    for (const auto& [step, steps] : {std::pair{0, 100}, std::pair{250, 1}, std::pair{30, 4}}) {
        View.SetStep(step);
        RunTo(Red);
        Progresses.clear();
        RunTo(Blue);  // from 100: SetProgress(0) composes one frame first
        EXPECT_EQ(Progresses.size(), static_cast<std::size_t>(1 + steps)) << step;
        EXPECT_EQ(Progresses.back(), 100);
    }
}

TEST_F(TransitionView, AReversedRunShowsTheNewPictureFirstAndTheOldOneLast)
{
    View.SetReverse(true);
    TBitmap first;
    View.OnAfterNewFrame = [&](auto&, TBitmap&, TBitmap& screen) {
        if (first.Empty())
            first = screen;
    };
    Progresses.clear();
    RunTo(Blue);
    EXPECT_EQ(first, Filled(W, H, Blue));
    EXPECT_EQ(Progresses.front(), 100);
    EXPECT_EQ(Progresses.back(), 0);
    EXPECT_EQ(View.FrameBitmap(), Filled(W, H, Black));  // the snapshot of the empty control
}

TEST_F(TransitionView, AStyleAbove127ComposesNothingButStillCompletes)
{
    RunTo(Red);
    Host.Invalidated.clear();
    Events.clear();
    RunTo(Blue, 200);
    EXPECT_EQ(Events.find('a'), std::string::npos);
    EXPECT_EQ(Events.back(), 'c');
    EXPECT_EQ(std::count(Events.begin(), Events.end(), 'p'), 26);
    // Only the start of the run (100 to 0) invalidates; no frame does.
    ASSERT_EQ(Host.Invalidated.size(), 1u);
    EXPECT_EQ(View.FrameBitmap(), Filled(W, H, Red));
}

TEST_F(TransitionView, StyleZeroWithoutAHandlerIsAnInstantCut)
{
    RunTo(Red, 0);
    EXPECT_EQ(Events, "bapc");  // one frame, one progress event, one completion
    EXPECT_EQ(View.FrameBitmap(), Filled(W, H, Red));
    Events.clear();
    View.SetReverse(true);
    RunTo(Blue, 0);
    EXPECT_EQ(Events, "bapc");
    EXPECT_EQ(View.Progress(), 0);
    EXPECT_EQ(View.FrameBitmap(), Filled(W, H, Red));  // a reversed run ends on the old image

    int drawn = 0;
    View.SetReverse(false);
    View.OnCustomDraw = [&](auto&, TBitmap& picture, TBitmap& screen) {
        ++drawn;
        Draw(screen, 0, 0, picture);
    };
    RunTo(Blue, 0);
    EXPECT_EQ(drawn, 25);  // the handler composes every frame; the last also gets the whole picture
}

TEST_F(TransitionView, AThreadedRunCompletesOnTheMainThread)
{
    View.SetThreaded(true);
    View.SetDelay(1);
    std::thread::id completedOn;
    View.OnComplete = [&](auto&) { completedOn = std::this_thread::get_id(); };
    RunTo(Red);
    EXPECT_TRUE(View.Busy());  // Execute returned at once
    ASSERT_TRUE(Main.PumpUntil([&] { return !View.Busy(); }, 10000));
    EXPECT_EQ(completedOn, std::this_thread::get_id());
    EXPECT_EQ(Progresses.size(), 25u);
    EXPECT_EQ(View.FrameBitmap(), Filled(W, H, Red));
}

TEST_F(TransitionView, StopEndsAThreadedRunWithoutCompleting)
{
    View.SetThreaded(true);
    View.SetDelay(5);
    RunTo(Red);
    ASSERT_TRUE(Main.PumpUntil([&] { return Progresses.size() >= 3; }, 10000));
    View.Stop();
    EXPECT_FALSE(View.Busy());
    EXPECT_EQ(Events.find('c'), std::string::npos);
    const std::size_t steps = Progresses.size();
    Main.PumpUntil([] { return false; }, 50);  // nothing more arrives from the worker
    EXPECT_EQ(Progresses.size(), steps);
    EXPECT_EQ(View.FrameBitmap().Pixel(0, 0), Red);  // the last composed frame stays
    EXPECT_EQ(View.FrameBitmap().Pixel(W - 1, 0), Black);
    View.Stop();  // when idle: nothing
}

TEST_F(TransitionView, StopFromAHandlerOfTheRunningStepDoesNotDeadlock)
{
    for (bool threaded : {false, true}) {
        View.SetThreaded(threaded);
        View.OnProgress = [&](auto& sender) {
            if (sender.Progress() == 12)
                sender.Stop();
        };
        Events.clear();
        RunTo(threaded ? Blue : Red);
        ASSERT_TRUE(Main.PumpUntil([&] { return !View.Busy(); }, 10000));
        EXPECT_EQ(View.Progress(), 12);
        EXPECT_EQ(Events.find('c'), std::string::npos);
        Main.PumpUntil([] { return false; }, 30);
    }
}

TEST_F(TransitionView, AFailingFrameEndsTheRunAndReachesTheHost)
{
    View.OnBeforeNewFrame = [](auto& sender, TBitmap&, TBitmap&) {
        if (sender.Progress() == 8)
            throw std::runtime_error("no memory for the frame");
    };
    EXPECT_THROW(RunTo(Red), std::runtime_error);  // not threaded: to the caller of Execute
    EXPECT_FALSE(View.Busy());

    View.SetThreaded(true);
    RunTo(Red);
    ASSERT_TRUE(Main.PumpUntil([&] { return !View.Busy(); }, 10000));
    ASSERT_EQ(Host.Errors, std::vector<std::string>{"no memory for the frame"});
    EXPECT_EQ(Events.find('c'), std::string::npos);
}

TEST_F(TransitionView, ASnapshotOfANeverPaintedControlIsItsColour)
{
    View.SetColor(Blue);
    View.SetManual(true);
    View.SetThreaded(false);
    View.OnBeforeNewFrame = nullptr;
    TBitmap atZero;
    View.OnAfterNewFrame = [&](auto&, TBitmap&, TBitmap& screen) { atZero = screen; };
    RunTo(Red);
    View.SetProgress(1);  // a wipe of 0 columns: the frame is still the snapshot
    EXPECT_EQ(atZero, Filled(W, H, Blue));
}

TEST_F(TransitionView, PaintPlacesTheFrameAndItsBackground)
{
    View.SetAutoSize(false);
    View.SetBounds(10, 20, 60, 50);
    RunTo(Red);
    View.SetBgPicture(Filled(100, 100, Blue));
    View.SetBgMode(TBackgroundMode::bmCentered);  // larger than the client: negative offsets
    EXPECT_EQ(Host.PresentedAt, (TRect{10, 20, 70, 70}));
    EXPECT_EQ(Host.Screen.Pixel(59, 49), Blue);
    EXPECT_EQ(Host.Screen.Pixel(0, 0), Red);

    View.SetCenter(true);
    EXPECT_EQ(View.PictureRect(), (TRect{10, 10, 50, 40}));
    EXPECT_EQ(Host.Screen.Pixel(9, 9), Blue);
    EXPECT_EQ(Host.Screen.Pixel(10, 10), Red);
    View.SetBounds(10, 20, 20, 10);  // smaller than the frame: cut on all sides
    EXPECT_EQ(View.PictureRect(), (TRect{-10, -10, 30, 20}));

    View.SetBounds(10, 20, 80, 30);
    View.SetStretch(true);
    View.SetStretchFine(true);  // 40 x 30 letterboxed into 80 x 30
    EXPECT_EQ(Host.Screen.Pixel(19, 15), Blue);
    EXPECT_EQ(Host.Screen.Pixel(20, 15), Red);
    EXPECT_EQ(Host.Screen.Pixel(59, 15), Red);
    EXPECT_EQ(Host.Screen.Pixel(60, 15), Blue);
}

TEST_F(TransitionView, PaintingIsRefusedReentrantlyAndOffTheMainThread)
{
    RunTo(Red);
    int presents = 0;
    Host.OnPresent = [&] {
        ++presents;
        View.PaintMessage();  // re-entrant: ignored
    };
    View.PaintMessage();
    EXPECT_EQ(presents, 1);
    std::thread([&] { View.PaintMessage(); }).join();
    EXPECT_EQ(presents, 1);
}

TEST_F(TransitionView, ClearLeavesOnlyTheColourAndNeverInterruptsARun)
{
    RunTo(Red);
    View.Clear();
    EXPECT_TRUE(View.FrameBitmap().Empty());
    EXPECT_EQ(Host.Screen, Filled(W, H, Black));
    View.SetManual(true);
    RunTo(Blue);
    View.Clear();
    EXPECT_FALSE(View.FrameBitmap().Empty());
}

TEST(TransitionGeometry, AspectFitRectEnlargesAndShrinksAndTilesCoverTheArea)
{
    struct Row {
        TRect source, target, expected;
    };
    const Row rows[] = {
        {{0, 0, 40, 30}, {0, 0, 80, 30}, {20, 0, 60, 30}},
        {{0, 0, 40, 30}, {0, 0, 40, 90}, {0, 30, 40, 60}},
        {{0, 0, 400, 300}, {10, 10, 110, 110}, {10, 22, 110, 97}},
        {{-5, -5, 5, 5}, {0, 0, 7, 7}, {0, 0, 7, 7}},
    };
    for (const Row& r : rows)
        EXPECT_EQ(TCustomTransitionView::AspectFitRect(r.source, r.target), r.expected);

    TBitmap canvas(25, 13), tile(10, 4);
    FillRect(tile, tile.Bounds(), 0x00FF00);
    tile.SetPixel(0, 0, 0x0000FF);
    TCustomTransitionView::TileGraphic(canvas, canvas.Bounds(), tile);
    EXPECT_EQ(canvas.Pixel(20, 12), 0x0000FFu);  // every tile starts at a multiple of its size
    EXPECT_EQ(canvas.Pixel(24, 12), 0x00FF00u);
}

}  // namespace
