// The About box on Qt, built from the form's table: a non-modal dialog with the program's icon,
// title, version and description, created when the logic loads it and destroyed when it unloads it.
#pragma once

#include <QPointer>
#include <string>

#include "frontends/qt/qt_controls.h"
#include "ui/window_base.h"

#include <QDialog>

namespace qtui {

class QtAboutBox : public ui::AboutBoxBase {
  public:
    // The dialog will belong to `owner` (the main window), which it stays above.
    explicit QtAboutBox(QWidget* owner) : owner_(owner) {}
    ~QtAboutBox() override;
    QtAboutBox(const QtAboutBox&) = delete;
    QtAboutBox& operator=(const QtAboutBox&) = delete;

    ui::Label& lblTitle() override { return title_; }
    ui::Label& lblVersion() override { return version_; }
    ui::Label& lblDescription() override { return description_; }

    // The dialog while it is loaded, else nullptr.
    QDialog* dialog() const { return dialog_; }

  protected:
    void create() override;
    void destroy() override;
    void present() override;
    void showCaption(const std::string& caption) override;

  private:
    QWidget* owner_;
    QPointer<QDialog> dialog_;  // cleared when the owner takes it down
    QtLabel title_, version_, description_;
};

}  // namespace qtui
