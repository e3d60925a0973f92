// One small owner per kind of Win32 handle: each closes, deletes or destroys what
// it holds exactly once. No bare CloseHandle, DeleteObject or DestroyWindow elsewhere.
#pragma once

#include <windows.h>

#include <utility>

namespace spindrel::win32 {

template <class Handle, class Traits>
class TScopedHandle {
public:
    TScopedHandle() = default;
    explicit TScopedHandle(Handle Value) : FValue(Value) {}
    ~TScopedHandle() { Reset(); }
    TScopedHandle(TScopedHandle&& Other) noexcept : FValue(std::exchange(Other.FValue, Traits::Invalid())) {}
    TScopedHandle& operator=(TScopedHandle&& Other) noexcept
    {
        if (this != &Other)
            Reset(std::exchange(Other.FValue, Traits::Invalid()));
        return *this;
    }
    TScopedHandle(const TScopedHandle&) = delete;
    TScopedHandle& operator=(const TScopedHandle&) = delete;

    Handle Get() const { return FValue; }
    explicit operator bool() const { return FValue != Traits::Invalid(); }
    Handle Release() { return std::exchange(FValue, Traits::Invalid()); }
    void Reset(Handle Value = Traits::Invalid())
    {
        if (FValue != Traits::Invalid())
            Traits::Close(FValue);
        FValue = Value;
    }

private:
    Handle FValue = Traits::Invalid();
};

struct TKernelHandleTraits {  // events, threads, processes, semaphores
    static HANDLE Invalid() { return nullptr; }
    static void Close(HANDLE H) { CloseHandle(H); }
};
struct TFileHandleTraits {  // CreateFile gives INVALID_HANDLE_VALUE, not null, on failure
    static HANDLE Invalid() { return INVALID_HANDLE_VALUE; }
    static void Close(HANDLE H) { CloseHandle(H); }
};
struct TWindowTraits {
    static HWND Invalid() { return nullptr; }
    static void Close(HWND H) { DestroyWindow(H); }
};
template <class Object>
struct TGdiObjectTraits {  // bitmaps, brushes, pens, fonts, regions
    static Object Invalid() { return nullptr; }
    static void Close(Object H) { DeleteObject(H); }
};
struct TMemoryDcTraits {
    static HDC Invalid() { return nullptr; }
    static void Close(HDC H) { DeleteDC(H); }
};

using TScopedKernelHandle = TScopedHandle<HANDLE, TKernelHandleTraits>;
using TScopedFile = TScopedHandle<HANDLE, TFileHandleTraits>;
using TScopedWindow = TScopedHandle<HWND, TWindowTraits>;
using TScopedBitmap = TScopedHandle<HBITMAP, TGdiObjectTraits<HBITMAP>>;
using TScopedBrush = TScopedHandle<HBRUSH, TGdiObjectTraits<HBRUSH>>;
using TScopedFont = TScopedHandle<HFONT, TGdiObjectTraits<HFONT>>;
using TScopedRegion = TScopedHandle<HRGN, TGdiObjectTraits<HRGN>>;
using TScopedMemoryDc = TScopedHandle<HDC, TMemoryDcTraits>;

// A window's device context from GetDC, given back with ReleaseDC.
class TWindowDc {
public:
    explicit TWindowDc(HWND Window) : FWindow(Window), FDc(GetDC(Window)) {}
    ~TWindowDc()
    {
        if (FDc)
            ReleaseDC(FWindow, FDc);
    }
    TWindowDc(const TWindowDc&) = delete;
    TWindowDc& operator=(const TWindowDc&) = delete;
    HDC Get() const { return FDc; }

private:
    HWND FWindow;
    HDC FDc;
};

// Selects an object into a device context and puts the previous one back.
class TSelectObject {
public:
    TSelectObject(HDC Dc, HGDIOBJ Object) : FDc(Dc), FPrevious(SelectObject(Dc, Object)) {}
    ~TSelectObject() { SelectObject(FDc, FPrevious); }
    TSelectObject(const TSelectObject&) = delete;
    TSelectObject& operator=(const TSelectObject&) = delete;

private:
    HDC FDc;
    HGDIOBJ FPrevious;
};

// COM initialised for this thread (single-threaded apartment) for the object's life.
class TScopedCom {
public:
    TScopedCom() : FInitialised(SUCCEEDED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED))) {}
    ~TScopedCom()
    {
        if (FInitialised)
            CoUninitialize();
    }
    TScopedCom(const TScopedCom&) = delete;
    TScopedCom& operator=(const TScopedCom&) = delete;

private:
    bool FInitialised;
};

}  // namespace spindrel::win32
