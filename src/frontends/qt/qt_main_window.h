// The main window on Qt 6 Widgets, built from the form's table, with the About box and modal
// message boxes. Every event of the window enters the logic through the boundary.
// Tests can have the message boxes answered without a person (answerBoxes, queueAnswer).
#pragma once

#include <QMainWindow>
#include <cstddef>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "frontends/qt/qt_about_box.h"
#include "frontends/qt/qt_controls.h"
#include "platform/image_drives.h"
#include "ui/form.h"
#include "ui/window_base.h"
#include "wizard/events.h"

class QMessageBox;

namespace qtui {

class UDisksDriveTable;

class QtMainWindow : public ui::WindowBase, private wizard::MenuToolkit {
  public:
    // The main window in its first state; the drive list lists the installed drive table. Needs a
    // QApplication.
    QtMainWindow();
    ~QtMainWindow() override;
    QtMainWindow(const QtMainWindow&) = delete;
    QtMainWindow& operator=(const QtMainWindow&) = delete;

    QMainWindow* widget() const { return form_.get(); }

    // What anotherInstanceRunning asks; by default, whether the user's instance lock is held
    // by another process (taking it now if the program has not tried yet).
    void setInstanceCheck(std::function<bool()> check) { instanceCheck_ = std::move(check); }
    // The drives whose floppy drive takes the images the "Diskette image..." entry picks; the
    // entry is disabled without them.
    void setImageDrives(platform::ImageDriveTable* drives);
    // The list follows the desktop's drives as they change.
    void watchDrives(UDisksDriveTable* drives);

    // From now on message boxes are answered by the window itself, once shown: OK boxes with
    // OK, Yes/No boxes with the next queued answer (No, counted as unanswered, when none is
    // queued). The observer, if any, sees each box before it is answered.
    void answerBoxes(std::function<void(QMessageBox&)> observer = nullptr);
    int unansweredQuestions() const { return unanswered_; }
    QtAboutBox& qtAboutBox() { return about_; }

    std::string caption() const override;
    void setCaption(const std::string& caption) override;
    void show() override;
    bool anotherInstanceRunning() override;
    // Repaints and answers the desktop; mouse and keys wait until the event ends.
    void keepAlive() override;

  protected:
    ui::Answer showBox(const std::string& text, ui::Buttons buttons, ui::Icon icon,
                       const std::string& title) override;
    void resize(int twips) override;
    bool focused(std::string_view name) const override;
    // Closes the windows without raising a close request, and leaves the event loop.
    void close() override;

  private:
    void build();
    void buildMenu();
    QWidget* makeControl(const ui::form::Control& control);
    void connectEvents();

    // The menu's dialogs and openers.
    platform::ImageDriveTable* imageDrives() override { return imageDrives_; }
    std::string openImageFile(const std::string& proposal) override;
    std::string openFolder(const std::string& current) override;
    std::string pickCardDrive(const std::vector<std::string>& entries,
                              const std::string& proposed) override;
    bool openLocal(const std::filesystem::path& path) override;
    std::string_view checkMark() const override { return "\u2713 "; }
    void setMenuText(ui::form::Menu entry, const std::string& text) override;

    std::unique_ptr<QMainWindow> form_;
    QWidget* client_ = nullptr;
    std::unique_ptr<QtTextBox> mainText_, logText_;
    QtLabel driveSize_, summaryLabel_;
    std::map<std::string_view, std::unique_ptr<QtButton>> buttons_;
    std::unique_ptr<QtDriveList> driveList_;
    std::unique_ptr<QtProgressBar> progressBar_;
    std::vector<std::unique_ptr<QtLine>> lines_;
    QtAboutBox about_;

    std::function<bool()> instanceCheck_;
    platform::ImageDriveTable* imageDrives_ = nullptr;
    bool answering_ = false;
    std::function<void(QMessageBox&)> observer_;
    int unanswered_ = 0;
};

}  // namespace qtui
