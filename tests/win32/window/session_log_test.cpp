// The session log of the Windows window: its file under %LOCALAPPDATA% holds the log box's
// lines, CR LF ended; a folder that cannot be made is told once and the conversion goes on.
#include <windows.h>

#include <algorithm>

#include "capture.h"
#include "frontends/win32/win32_controls.h"
#include "platform/session_log.h"
#include "state/state.h"
#include "support/set_builder.h"
#include "ui/session_log.h"
#include "window_fixture.h"

namespace win32test {
namespace {

class Win32SessionLog : public Win32WindowTest {
  protected:
    void SetUp() override {
        Win32WindowTest::SetUp();
        wchar_t value[MAX_PATH + 1] = {};
        if (GetEnvironmentVariableW(L"LOCALAPPDATA", value, MAX_PATH + 1) > 0)
            saved_ = value;
    }
    void TearDown() override {
        ui::stopSessionLog();
        SetEnvironmentVariableW(L"LOCALAPPDATA", saved_.empty() ? nullptr : saved_.c_str());
        Win32WindowTest::TearDown();
    }
    void useLocalAppData(const std::filesystem::path& folder) {
        SetEnvironmentVariableW(L"LOCALAPPDATA", folder.c_str());
    }
    // Two diskettes onto the card, clicked; with `pictures`, each step is saved as the
    // technician's guide shows it.
    void convert(bool pictures = false) {
        auto shot = [&](const char* name) {
            if (pictures)
                screenshot(window->handle(), name);
        };
        testsupport::SetPlan plan;
        plan.disks = 2;
        plan.files = {testsupport::wholeFile("keycode.rec", "KEY-42"),
                      testsupport::spreadFile("db/data.dat", testsupport::noise(900, 5),
                                              {{1, 400}, {2, 500}})};
        const auto set = testsupport::buildSet(scratch.path() / "set", plan);
        platform::MediumOptions disk;
        disk.root = set.disk(1);
        drives.insert('A', disk);
        start();
        pick("a:");
        shot("step-0-floppy-drive");
        click("buttonOK");
        shot("step-1-first-diskette");
        click("buttonOK");
        shot("step-2-next-diskette");
        disk.root = set.disk(2);
        drives.insert('A', disk);
        click("buttonOK");
        pick("e:");
        shot("step-3-card");
        click("buttonOK");
        ASSERT_EQ(app::wizardStep, 4);
        click("buttonLog");
        shot("step-4-done");
        EXPECT_EQ(testsupport::readFile(scratch.path() / "e/backup/single/db/data.dat"),
                  testsupport::noise(900, 5));
        EXPECT_TRUE(window->messageBoxes().empty());
    }
    // The lines of the log box as it shows them.
    std::vector<std::string> logBoxLines() {
        const HWND box = control("logText");
        std::wstring text(static_cast<size_t>(GetWindowTextLengthW(box)) + 1, L'\0');
        text.resize(static_cast<size_t>(GetWindowTextW(box, text.data(), int(text.size()))));
        const std::string utf8 = win32ui::utf8(text);
        std::vector<std::string> lines;
        for (std::string_view line : platform::panelLines(utf8))
            lines.emplace_back(line);
        return lines;
    }

  private:
    std::wstring saved_;
};

TEST_F(Win32SessionLog, TheFileUnderLocalAppDataHoldsTheLogBoxsLines) {
    useLocalAppData(scratch.path() / "local");
    ui::startSessionLog(platform::sessionLogFolder());
    ASSERT_NE(ui::sessionLog(), nullptr);
    const auto file = ui::sessionLog()->file();
    EXPECT_EQ(file.parent_path(),
              scratch.path() / "local" / "VELT Database Media Converter" / "Logs");
    convert(true);

    const std::string content = testsupport::readFile(file);
    std::vector<std::string> fileLines;
    size_t begin = 0;
    for (size_t end; (end = content.find("\r\n", begin)) != std::string::npos; begin = end + 2) {
        const std::string line = content.substr(begin, end - begin);
        ASSERT_GE(line.size(), 20u) << line;
        EXPECT_EQ(line.find('\n'), std::string::npos) << "a bare line feed in " << line;
        fileLines.push_back(line.substr(20));
    }
    EXPECT_EQ(begin, content.size()) << "the last line has no CR LF";
    EXPECT_EQ(fileLines, logBoxLines());
    EXPECT_GT(fileLines.size(), 10u);
}

TEST_F(Win32SessionLog, AFolderThatCannotBeMadeIsToldOnceAndTheConversionGoesOn) {
    testsupport::writeFile(scratch.path() / "local", "a file where the folder would be");
    useLocalAppData(scratch.path() / "local");
    ui::startSessionLog(platform::sessionLogFolder());
    convert();
    const auto lines = logBoxLines();
    const std::string told = ui::sessionLogFailureText("");
    EXPECT_EQ(std::count_if(lines.begin(), lines.end(),
                            [&](const std::string& line) { return line.starts_with(told); }),
              1);
    EXPECT_EQ(ui::sessionLog(), nullptr);
}

}  // namespace
}  // namespace win32test
