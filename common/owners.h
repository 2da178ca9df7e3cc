// Move-only owners for Windows handles, keys, search handles, GDI objects and mapped views.
#pragma once

#include <windows.h>

#include <utility>

template <typename Traits>
class UniqueOwner {
public:
    using Type = typename Traits::Type;

    UniqueOwner() = default;
    explicit UniqueOwner(Type value) : value_(value) {}
    ~UniqueOwner() { Close(); }

    UniqueOwner(const UniqueOwner&) = delete;
    UniqueOwner& operator=(const UniqueOwner&) = delete;
    UniqueOwner(UniqueOwner&& other) noexcept : value_(other.Detach()) {}
    UniqueOwner& operator=(UniqueOwner&& other) noexcept
    {
        if (this != &other) {
            Close();
            value_ = other.Detach();
        }
        return *this;
    }

    Type Get() const { return value_; }
    bool IsValid() const { return value_ != Traits::Invalid(); }
    explicit operator bool() const { return IsValid(); }

    // For functions that hand the value out through a pointer argument.
    Type* Receive()
    {
        Close();
        return &value_;
    }

    Type Detach() { return std::exchange(value_, Traits::Invalid()); }

    void Close()
    {
        if (IsValid())
            Traits::Close(std::exchange(value_, Traits::Invalid()));
    }

private:
    Type value_ = Traits::Invalid();
};

struct HandleTraits {
    using Type = HANDLE;
    static Type Invalid() { return nullptr; }
    static void Close(Type h) { ::CloseHandle(h); }
};

// CreateFileA and CreateToolhelp32Snapshot report failure as INVALID_HANDLE_VALUE.
struct FileHandleTraits {
    using Type = HANDLE;
    static Type Invalid() { return INVALID_HANDLE_VALUE; }
    static void Close(Type h) { ::CloseHandle(h); }
};

struct FindHandleTraits {
    using Type = HANDLE;
    static Type Invalid() { return INVALID_HANDLE_VALUE; }
    static void Close(Type h) { ::FindClose(h); }
};

struct KeyTraits {
    using Type = HKEY;
    static Type Invalid() { return nullptr; }
    static void Close(Type h) { ::RegCloseKey(h); }
};

struct GdiObjectTraits {
    using Type = HGDIOBJ;
    static Type Invalid() { return nullptr; }
    static void Close(Type h) { ::DeleteObject(h); }
};

struct IconTraits {
    using Type = HICON;
    static Type Invalid() { return nullptr; }
    static void Close(Type h) { ::DestroyIcon(h); }
};

struct MappedViewTraits {
    using Type = LPVOID;
    static Type Invalid() { return nullptr; }
    static void Close(Type view) { ::UnmapViewOfFile(view); }
};

using UniqueHandle = UniqueOwner<HandleTraits>;
using UniqueFileHandle = UniqueOwner<FileHandleTraits>;
using UniqueFindHandle = UniqueOwner<FindHandleTraits>;
using UniqueKey = UniqueOwner<KeyTraits>;
using UniqueGdiObject = UniqueOwner<GdiObjectTraits>;
using UniqueIcon = UniqueOwner<IconTraits>;
using UniqueMappedView = UniqueOwner<MappedViewTraits>;
