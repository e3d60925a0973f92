// The show window: covers the screen, stays on top, hides the pointer, keeps
// Windows' own screen saving off while it runs, steps through the slide list and
// ends at the first input the settings let through.
#pragma once

#include <windows.h>

#include <cstdint>
#include <memory>
#include <random>
#include <string>

#include "datafiles/TItemList.h"
#include "platform/graphics/Bitmap.h"
#include "platform/win32/Application.h"
#include "platform/win32/Controls.h"
#include "platform/win32/Form.h"
#include "platform/win32/TransitionControl.h"
#include "saver/ShowRules.h"
#include "saver/win32/HttpDownload.h"

namespace spindrel::saver {

class TFormMain : public win32::TForm {
public:
    explicit TFormMain(win32::TApplication& Application);  // runs FormCreate
    ~TFormMain() override;

    // Controls, bottom first: the caption is drawn over the pictures.
    win32::TTransitionControl TransitionView;
    win32::TLabel LabelCaption;
    win32::TPanel PanelBack;
    win32::TTimer TimerPlayer;
    win32::TTimer TimerCheck;
    win32::TTimer TimerMusic;

protected:
    void FormShow() override;
    void FormPaint(HDC Dc) override;
    void FormClose() override;

private:
    void FormCreate();
    void TimerPlayerTimer();
    void TransitionViewComplete();
    void InputFilter(MSG& Message, bool& Handled);
    bool IsFlashMouseAllowed() const;
    void DownloadDone(const std::string& FileName);
    void DownloadFailed();

    void LeaveKind(std::uint8_t Kind);
    void EnterKind(std::uint8_t Kind);
    void StartItem(const TItemRecord& Item);
    void SetupCaption();
    void PaintBackground();
    void ChooseTransition();
    void ShowPictureItem(const TItemRecord& Item);
    std::int32_t PreparePicture(const TItemRecord& Item);
    void GoOn(std::uint32_t Interval);  // the sequencer steps again after Interval ms
    int Random(int N);

    std::int32_t CurrentIndex = -1;
    std::uint8_t CurrentKind = 0;
    std::unique_ptr<TBitmap> BackgroundBitmap;
    POINT SavedCursorPos{};
    std::unique_ptr<win32::THttpDownload> Downloader;
    TInputFilterRule MouseOrigin;
    std::mt19937 FRandom;
    int FScreenWidth = 0;
    int FScreenHeight = 0;
    bool FScreenSavingOff = false;
};

}  // namespace spindrel::saver
