// What the Win32 host folder medium is made of: a handle that closes itself, the long-path and
// literal forms of host paths, the entries the listing gives, and the open files (buffered,
// and unbuffered for reading back past the caches). Private to platform/win32.
#pragma once

#include <windows.h>

#include <algorithm>
#include <cstdint>
#include <filesystem>
#include <string>

#include "platform/error.h"
#include "platform/medium.h"
#include "platform/uncached_file.h"
#include "platform/win32/win32_text.h"

namespace platform::win32 {

// A handle closed when it goes.
class Handle {
  public:
    explicit Handle(HANDLE h = INVALID_HANDLE_VALUE) : h_(h) {}
    ~Handle() { reset(); }
    Handle(Handle&& other) noexcept : h_(other.release()) {}
    Handle& operator=(Handle&& other) noexcept {
        if (this != &other) {
            reset();
            h_ = other.release();
        }
        return *this;
    }
    bool valid() const { return h_ != INVALID_HANDLE_VALUE && h_ != nullptr; }
    HANDLE get() const { return h_; }
    HANDLE release() {
        HANDLE h = h_;
        h_ = INVALID_HANDLE_VALUE;
        return h;
    }
    void reset() {
        if (valid())
            CloseHandle(h_);
        h_ = INVALID_HANDLE_VALUE;
    }

  private:
    HANDLE h_;
};

inline constexpr DWORD shareAll = FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE;

bool isReparse(DWORD attributes);

bool isFolder(DWORD attributes);

// The long-path form ("\\?\C:\x", "\\?\UNC\server\share\x") of an absolute host path, which
// lifts the 260-character limit and takes every name as written.
std::wstring longForm(const std::filesystem::path& root);

// The long-path form of a whole host path as another medium spells it, every name kept as it is:
// the full-path call of longForm would drop a trailing dot or blank of the last name.
std::wstring literalForm(std::wstring path);

// The host path without its long-path prefix.
std::wstring shortForm(const std::wstring& path);

// "a\b" for ("a", "b"), and "C:\b" for a drive's root "C:\".
std::wstring join(const std::wstring& folder, const std::wstring& name);

DWORD attributesOf(const std::wstring& path);

MediumEntry entryOf(const std::string& name, DWORD attributes, uint64_t length);

class HostFile : public MediumFile {
  public:
    explicit HostFile(Handle h) : h_(std::move(h)) {}
    size_t read(void* buffer, size_t size) override {
        requireOpen();
        size_t got = 0;
        auto* out = static_cast<char*>(buffer);
        while (got < size) {
            DWORD want = static_cast<DWORD>(std::min<size_t>(size - got, 1u << 30));
            DWORD n = 0;
            if (!ReadFile(h_.get(), out + got, want, &n, nullptr))
                raiseLastError();
            if (n == 0)
                break;
            got += n;
        }
        return got;
    }
    void write(const void* data, size_t size) override {
        requireOpen();
        const auto* in = static_cast<const char*>(data);
        while (size > 0) {
            DWORD want = static_cast<DWORD>(std::min<size_t>(size, 1u << 30));
            DWORD n = 0;
            if (!WriteFile(h_.get(), in, want, &n, nullptr))
                raiseLastError();
            if (n == 0)
                raise(err::diskFull);
            in += n;
            size -= n;
        }
    }
    void close() override {
        HANDLE h = h_.release();
        if (h != INVALID_HANDLE_VALUE && !CloseHandle(h))
            raiseLastError();
    }

  private:
    void requireOpen() const {
        if (!h_.valid())
            raise(err::badFileName);
    }
    Handle h_;
};

// Reads opened with FILE_FLAG_NO_BUFFERING, block after block.
class UnbufferedFile : public UncachedFile {
  public:
    UnbufferedFile(Handle h, uint64_t length) : UncachedFile(length), h_(std::move(h)) {}
    void close() override { h_.reset(); }

  protected:
    size_t readBlock(char* buffer, uint64_t /*offset*/) override {
        DWORD n = 0;
        if (!ReadFile(h_.get(), buffer, static_cast<DWORD>(block), &n, nullptr))
            raiseLastError();
        return n;
    }

  private:
    Handle h_;
};

}  // namespace platform::win32
