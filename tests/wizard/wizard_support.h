// The fixture the wizard suites share: folder drives in a scratch folder, the recording window
// installed as the running window, and the window events sent through the event boundary as
// the front ends send them.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/drives.h"
#include "platform/folder_drives.h"
#include "support/test_support.h"
#include "ui/recording_window.h"

namespace wizardtest {

inline const std::string crlf = "\r\n";

class WizardTest : public ::testing::Test {
  protected:
    void SetUp() override;
    void TearDown() override;

    // A medium whose root is the scratch folder `folder` (created when missing).
    platform::MediumOptions medium(const std::string& folder, const std::string& label = "",
                                   std::optional<uint64_t> freeBytes = std::nullopt);
    // The usual machine: a: an empty floppy drive, c: [SYSTEM] holding C:\Temp, e: a card
    // labelled CF with 64,000,000 free bytes. The list reads a:, c: [SYSTEM], e:.
    void defineUsualDrives();
    // The window, made from the drive table as it is now, installed as the running window.
    ui::RecordingWindow& openWindow();
    ui::RecordingWindow& win() { return *window_; }

    // Window events, each through wizard::dispatch; false once the program has ended.
    bool start();
    bool ok();
    bool back();
    bool exitClick();
    // The close request; `cancelled` tells whether the window stays open.
    bool close(bool* cancelled = nullptr);
    // The user picks the drive with this letter in the drive list.
    bool select(char letter);
    bool key();
    bool about();
    bool aboutOk();

    void answer(ui::Answer a) { window_->queueAnswer(a); }
    // The message boxes shown since the last call.
    std::vector<ui::MessageRecord> newBoxes();
    // The log lines appended since the last call.
    std::vector<std::string> newLogs();
    int16_t indexOf(char letter) const;
    // The host folder of a converter temp-area folder ("VELT_flat").
    std::filesystem::path tempHost(const std::string& name) const;

    testsupport::ScratchDir scratch;
    platform::FolderDriveTable drives;

  private:
    std::unique_ptr<ui::RecordingWindow> window_;
    size_t boxesSeen_ = 0;
    size_t logsSeen_ = 0;
};

}  // namespace wizardtest
