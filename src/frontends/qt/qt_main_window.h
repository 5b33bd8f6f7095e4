// Form1 on Qt 6 Widgets: the main window with every control at its place, the About box, and
// modal message boxes. Every event of the window enters the logic through Form1::dispatch.
// Tests can have the message boxes answered without a person (answerBoxes, queueAnswer).
#pragma once

#include <QMainWindow>
#include <cstddef>
#include <deque>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "frontends/qt/qt_about_box.h"
#include "frontends/qt/qt_controls.h"
#include "platform/image_drives.h"
#include "ui/main_window.h"

class QMessageBox;

namespace qtui {

class UDisksDriveTable;

struct MessageRecord {
    std::string text;
    ui::Buttons buttons;
    ui::Icon icon;
    std::string title;
    ui::Answer answer;
};

class QtMainWindow : public ui::MainWindow {
  public:
    // Form1 in its initial state; the drive list lists the installed drive table. Needs a
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
    void queueAnswer(ui::Answer answer) { answers_.push_back(answer); }
    size_t queuedAnswers() const { return answers_.size(); }
    int unansweredQuestions() const { return unanswered_; }
    const std::vector<MessageRecord>& messageBoxes() const { return boxes_; }
    bool quitCalled() const { return quit_; }
    QtAboutBox& qtAboutBox() { return about_; }

    ui::TextBox& mainText() override { return *mainText_; }
    ui::TextBox& logText() override { return *logText_; }
    ui::Label& driveSize() override { return driveSize_; }
    ui::Label& label2() override { return label2_; }
    ui::Button& buttonOK() override { return *buttonOK_; }
    ui::Button& buttonBack() override { return *buttonBack_; }
    ui::Button& buttonExit() override { return *buttonExit_; }
    ui::Button& buttonLog() override { return *buttonLog_; }
    ui::DriveList& driveList() override { return *driveList_; }
    ui::ProgressBar& progressBar1() override { return *progressBar1_; }
    // Raises 9 for a number other than 1 to 4.
    ui::Line& line(int n) override;
    ui::AboutBox& aboutBox() override { return about_; }

    std::string caption() const override;
    void setCaption(const std::string& caption) override;
    int height() const override { return height_; }
    // The client area takes the outer height less the frame, title and menu bar of the
    // designed-for platform (615 twips); the window cannot be resized otherwise.
    void setHeight(int twips) override;
    void show() override;
    std::string focus() const override;

    ui::Answer msgBox(const std::string& text, ui::Buttons buttons, ui::Icon icon,
                      const std::string& title) override;
    bool anotherInstanceRunning() override;
    // Closes the windows without raising a close request, and leaves the event loop.
    void quit() override;
    // Repaints and answers the desktop; mouse and keys wait until the event ends.
    void keepAlive() override;

  private:
    void build();
    void connectEvents();

    std::unique_ptr<QMainWindow> form_;
    QWidget* client_ = nullptr;
    std::unique_ptr<QtTextBox> mainText_, logText_;
    QtLabel driveSize_, label2_;
    std::unique_ptr<QtButton> buttonOK_, buttonBack_, buttonExit_, buttonLog_;
    std::unique_ptr<QtDriveList> driveList_;
    std::unique_ptr<QtProgressBar> progressBar1_;
    std::vector<std::unique_ptr<QtLine>> lines_;
    QtAboutBox about_;
    int height_ = 0;

    std::function<bool()> instanceCheck_;
    platform::ImageDriveTable* imageDrives_ = nullptr;
    QString lastImage_;  // the image picked last, for the next proposal
    void chooseDisketteImage();
    void chooseKeptImagesFolder();
    static const char* const keepImagesText;
    bool answering_ = false;
    std::function<void(QMessageBox&)> observer_;
    std::deque<ui::Answer> answers_;
    int unanswered_ = 0;
    std::vector<MessageRecord> boxes_;
    bool quit_ = false;
};

}  // namespace qtui
