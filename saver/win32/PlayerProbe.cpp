#include "saver/win32/PlayerProbe.h"

#include <objbase.h>

#include "saver/win32/Globals.h"

namespace spindrel::saver {

namespace {

// {D27CDB6E-AE6D-11CF-96B8-444553540000}
constexpr CLSID FlashClass{0xD27CDB6E, 0xAE6D, 0x11CF, {0x96, 0xB8, 0x44, 0x45, 0x53, 0x54, 0x00, 0x00}};
// {CFCDAA03-8BE4-11CF-B84B-0020AFBBCCFA}
constexpr CLSID RealClass{0xCFCDAA03, 0x8BE4, 0x11CF, {0xB8, 0x4B, 0x00, 0x20, 0xAF, 0xBB, 0xCC, 0xFA}};
// {22D6F312-B0F6-11D0-94AB-0080C74C7E95}
constexpr CLSID MediaPlayerClass{0x22D6F312, 0xB0F6, 0x11D0, {0x94, 0xAB, 0x00, 0x80, 0xC7, 0x4C, 0x7E, 0x95}};

bool CanCreate(const CLSID& Class)
{
    IUnknown* control = nullptr;
    const HRESULT result = CoCreateInstance(Class, nullptr, CLSCTX_INPROC_SERVER, IID_IUnknown,
                                            reinterpret_cast<void**>(&control));
    if (FAILED(result) || !control)
        return false;
    control->Release();
    return true;
}

}  // namespace

void ProbePlayers()
{
    FlashAvailable = CanCreate(FlashClass);
    RealAvailable = CanCreate(RealClass);
    MediaPlayerAvailable = CanCreate(MediaPlayerClass);
}

}  // namespace spindrel::saver
