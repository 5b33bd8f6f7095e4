// The wizard suites' fixture: drives, window and events.
#include "wizard/wizard_support.h"

#include "platform/context.h"
#include "state/state.h"
#include "ui/main_window.h"
#include "wizard/wizard.h"

namespace wizardtest {

void WizardTest::SetUp() {
    platform::resetContext();
    platform::installDrives(&drives);
    app::resetState();
    wizard::resetForm();
    wizard::setDigitGrouping(",");
}

void WizardTest::TearDown() {
    ui::installWindow(nullptr);
    window_.reset();
    platform::resetContext();
    app::resetState();
    wizard::resetForm();
}

platform::MediumOptions WizardTest::medium(const std::string& folder, const std::string& label,
                                           std::optional<uint64_t> freeBytes) {
    platform::MediumOptions m;
    m.root = scratch.path() / folder;
    std::filesystem::create_directories(m.root);
    m.label = label;
    m.freeBytes = freeBytes;
    return m;
}

void WizardTest::defineUsualDrives() {
    drives.define('a', platform::DriveType::removable, std::nullopt);
    drives.define('c', platform::DriveType::fixed,
                  medium("c", "SYSTEM", 10ull * 1024 * 1024 * 1024));
    std::filesystem::create_directories(scratch.path() / "c" / "Temp");
    platform::setTempFolder("C:\\Temp");
    drives.define('e', platform::DriveType::removable, medium("cf", "CF", 64000000));
}

ui::RecordingWindow& WizardTest::openWindow() {
    window_ = std::make_unique<ui::RecordingWindow>();
    ui::installWindow(window_.get());
    boxesSeen_ = 0;
    logsSeen_ = 0;
    return *window_;
}

bool WizardTest::start() {
    if (!window_)
        openWindow();
    return wizard::dispatch(wizard::onLoad);
}

bool WizardTest::ok() {
    return wizard::dispatch(wizard::onOk);
}
bool WizardTest::back() {
    return wizard::dispatch(wizard::onBack);
}
bool WizardTest::exitClick() {
    return wizard::dispatch(wizard::onExit);
}
bool WizardTest::key() {
    return wizard::dispatch(wizard::onDriveListKey);
}
bool WizardTest::about() {
    return wizard::dispatch(wizard::onAbout);
}
bool WizardTest::aboutOk() {
    return wizard::dispatch(wizard::onAboutOk);
}

bool WizardTest::close(bool* cancelled) {
    bool cancel = false;
    const bool running = wizard::dispatch([&] { wizard::onCloseRequest(cancel); });
    if (cancelled != nullptr)
        *cancelled = cancel;
    return running;
}

bool WizardTest::select(char letter) {
    const int16_t index = indexOf(letter);
    return wizard::dispatch([index] { ui::window().driveList().setListIndex(index); });
}

int16_t WizardTest::indexOf(char letter) const {
    auto& list = window_->driveList();
    for (int16_t i = 0; i < list.listCount(); ++i) {
        if (list.entryAt(i).front() == letter)
            return i;
    }
    ADD_FAILURE() << "no drive " << letter << ": in the list";
    return -1;
}

std::vector<ui::MessageRecord> WizardTest::newBoxes() {
    const auto& all = window_->messageBoxes();
    std::vector<ui::MessageRecord> out(all.begin() + static_cast<long>(boxesSeen_), all.end());
    boxesSeen_ = all.size();
    return out;
}

std::vector<std::string> WizardTest::newLogs() {
    const auto& all = window_->logs();
    std::vector<std::string> out(all.begin() + static_cast<long>(logsSeen_), all.end());
    logsSeen_ = all.size();
    return out;
}

std::filesystem::path WizardTest::tempHost(const std::string& name) const {
    return scratch.path() / "c" / "Temp" / name;
}

}  // namespace wizardtest
