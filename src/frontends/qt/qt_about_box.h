// frmAbout on Qt: a non-modal dialog with the program's icon, title, version and description,
// created when the logic loads it and destroyed when it unloads it.
#pragma once

#include <QPointer>
#include <string>

#include "frontends/qt/qt_controls.h"
#include "ui/main_window.h"

#include <QDialog>

namespace qtui {

class QtAboutBox : public ui::AboutBox {
  public:
    // The dialog will belong to `owner` (the main window), which it stays above.
    explicit QtAboutBox(QWidget* owner) : owner_(owner) {}
    ~QtAboutBox() override;
    QtAboutBox(const QtAboutBox&) = delete;
    QtAboutBox& operator=(const QtAboutBox&) = delete;

    bool loaded() const override { return dialog_ != nullptr; }
    void load() override;
    void unload() override;
    void show() override;
    void setCaption(const std::string& caption) override;
    std::string caption() const override { return caption_; }
    ui::Label& lblTitle() override { return title_; }
    ui::Label& lblVersion() override { return version_; }
    ui::Label& lblDescription() override { return description_; }

    // The dialog while it is loaded, else nullptr.
    QDialog* dialog() const { return dialog_; }
    // How many times a dialog has been created.
    int loads() const { return loads_; }

  private:
    QWidget* owner_;
    QPointer<QDialog> dialog_;  // cleared when the owner takes it down
    std::string caption_;
    QtLabel title_, version_, description_;
    int loads_ = 0;
};

}  // namespace qtui
