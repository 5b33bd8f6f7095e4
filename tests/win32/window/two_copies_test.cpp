// velt-converter.exe itself: its resources, and two copies of it: the second copy finds the
// first one's window, says so in its "Error!" box and ends; the first goes on, and ends through
// its close box.
#include <windows.h>

#include <gtest/gtest.h>

#include <chrono>
#include <functional>
#include <string>
#include <thread>

#include "capture.h"
#include "window_fixture.h"

namespace win32test {
namespace {

using namespace std::chrono_literals;

// The program beside this test program.
std::wstring converter() {
    wchar_t self[MAX_PATH] = {};
    GetModuleFileNameW(nullptr, self, MAX_PATH);
    std::wstring path = self;
    return path.substr(0, path.find_last_of(L"\\/") + 1) + L"velt-converter.exe";
}

// A started copy of the program; one still running at the end of a test is ended.
class Copy {
  public:
    Copy() {
        STARTUPINFOW startup{};
        startup.cb = sizeof startup;
        std::wstring command = L"\"" + converter() + L"\"";
        started_ = CreateProcessW(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr,
                                  nullptr, &startup, &info_) != FALSE;
    }
    ~Copy() {
        if (!started_)
            return;
        if (WaitForSingleObject(info_.hProcess, 0) == WAIT_TIMEOUT)
            TerminateProcess(info_.hProcess, 99);
        CloseHandle(info_.hThread);
        CloseHandle(info_.hProcess);
    }
    Copy(const Copy&) = delete;
    Copy& operator=(const Copy&) = delete;

    bool started() const { return started_; }
    DWORD id() const { return info_.dwProcessId; }
    // True when it ended within `limit`, with its exit status in `status`.
    bool ended(std::chrono::milliseconds limit, DWORD& status) const {
        if (WaitForSingleObject(info_.hProcess, static_cast<DWORD>(limit.count())) != WAIT_OBJECT_0)
            return false;
        GetExitCodeProcess(info_.hProcess, &status);
        return true;
    }

  private:
    PROCESS_INFORMATION info_{};
    bool started_ = false;
};

// Waits (Wine starts a program in seconds) for a shown top-level window of `process` titled
// `title`; nullptr when none came.
HWND waitForWindow(DWORD process, const std::wstring& title) {
    struct Search {
        DWORD process;
        const std::wstring* title;
        HWND found;
    };
    const auto deadline = std::chrono::steady_clock::now() + 60s;
    while (std::chrono::steady_clock::now() < deadline) {
        Search s{process, &title, nullptr};
        EnumWindows(
            [](HWND w, LPARAM p) -> BOOL {
                auto* search = reinterpret_cast<Search*>(p);
                DWORD owner = 0;
                GetWindowThreadProcessId(w, &owner);
                wchar_t text[128] = {};
                GetWindowTextW(w, text, 128);
                if (owner == search->process && IsWindowVisible(w) && *search->title == text) {
                    search->found = w;
                    return FALSE;
                }
                return TRUE;
            },
            reinterpret_cast<LPARAM>(&s));
        if (s.found != nullptr) {
            std::this_thread::sleep_for(300ms);  // painted, not only shown
            return s.found;
        }
        std::this_thread::sleep_for(100ms);
    }
    return nullptr;
}

TEST(Program, CarriesItsVersionIconAndManifest) {
    const std::wstring program = converter();
    DWORD ignored = 0;
    std::string version(GetFileVersionInfoSizeW(program.c_str(), &ignored), '\0');
    ASSERT_FALSE(version.empty());
    ASSERT_TRUE(GetFileVersionInfoW(program.c_str(), 0, static_cast<DWORD>(version.size()),
                                    version.data()));
    VS_FIXEDFILEINFO* fixed = nullptr;
    UINT size = 0;
    ASSERT_TRUE(VerQueryValueW(version.data(), L"\\", reinterpret_cast<void**>(&fixed), &size));
    EXPECT_EQ(fixed->dwFileVersionMS, 0x00010000u);  // 1.0
    EXPECT_EQ(fixed->dwFileVersionLS, 0u);           // .0.0
    wchar_t* comment = nullptr;
    ASSERT_TRUE(VerQueryValueW(version.data(), L"\\StringFileInfo\\040904b0\\Comments",
                               reinterpret_cast<void**>(&comment), &size));
    EXPECT_STREQ(comment, L"Mar 24, 2005");

    HMODULE image = LoadLibraryExW(program.c_str(), nullptr, LOAD_LIBRARY_AS_IMAGE_RESOURCE);
    ASSERT_NE(image, nullptr);
    EXPECT_NE(FindResourceW(image, MAKEINTRESOURCEW(1), RT_GROUP_ICON), nullptr);
    HRSRC manifest = FindResourceW(image, MAKEINTRESOURCEW(1), RT_MANIFEST);
    ASSERT_NE(manifest, nullptr);
    const std::string text(static_cast<const char*>(LockResource(LoadResource(image, manifest))),
                           SizeofResource(image, manifest));
    EXPECT_NE(text.find("Microsoft.Windows.Common-Controls\" version=\"6.0.0.0"),
              std::string::npos);
    EXPECT_NE(text.find("PerMonitorV2"), std::string::npos);
    FreeLibrary(image);
}

TEST(TwoCopies, TheSecondReportsTheFirstAndEndsAndTheFirstGoesOn) {
    Copy first;
    ASSERT_TRUE(first.started());
    HWND form = waitForWindow(first.id(), L"VELT Database Media Converter");
    ASSERT_NE(form, nullptr);
    wchar_t name[64] = {};
    GetClassNameW(form, name, 64);
    EXPECT_STREQ(name, L"VeltConverterMainWindow");
    screenshot(form, "program-startup", true);

    Copy second;
    ASSERT_TRUE(second.started());
    HWND box = waitForWindow(second.id(), L"Error!");
    ASSERT_NE(box, nullptr);
    EXPECT_EQ(boxText(box),
              L"Can not run muliply instances of VELT Database\r\nMedia Converter application");
    screenshot(box, "second-copy-error", true);
    PostMessageW(box, WM_COMMAND, IDOK, 0);
    DWORD status = 1;
    ASSERT_TRUE(second.ended(30s, status));
    EXPECT_EQ(status, 0u);
    EXPECT_TRUE(IsWindowVisible(form));
    EXPECT_EQ(waitForWindow(first.id(), L"VELT Database Media Converter"), form);

    // The close box asks the quit question; Yes ends the first copy.
    PostMessageW(form, WM_CLOSE, 0, 0);
    HWND question = waitForWindow(first.id(), L"warning!");
    ASSERT_NE(question, nullptr);
    PostMessageW(question, WM_COMMAND, IDYES, 0);
    ASSERT_TRUE(first.ended(30s, status));
    EXPECT_EQ(status, 0u);
}

}  // namespace
}  // namespace win32test
