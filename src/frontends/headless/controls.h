// The recording controls of the headless window: each keeps every state the logic can set
// and read, and counts its repaints.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "ui/controls.h"
#include "ui/main_window.h"

namespace headless {

class HeadlessTextBox : public ui::TextBox {
  public:
    explicit HeadlessTextBox(bool visible) : visible_(visible) {}

    bool visible() const override { return visible_; }
    void setVisible(bool visible) override { visible_ = visible; }
    std::string text() const override { return text_; }
    // Replaces the text; the selection goes back to the start, empty.
    void setText(const std::string& text) override;
    // Adds to the end, counting only the new bytes; the selection stays.
    void appendText(const std::string& more) override;
    int32_t length() const override { return units_; }
    bool locked() const override { return locked_; }
    void setLocked(bool locked) override { locked_ = locked; }
    int fontSize() const override { return fontSize_; }
    void setFontSize(int points) override { fontSize_ = points; }
    ui::Color backColor() const override { return backColor_; }
    void setBackColor(ui::Color color) override { backColor_ = color; }
    int32_t selStart() const override { return selStart_; }
    int32_t selLength() const override { return selLength_; }
    void setSelection(int32_t start, int32_t length) override;
    void refresh() override { ++refreshes_; }

    int refreshCount() const { return refreshes_; }

  private:
    void countFromSettled();

    bool visible_;
    std::string text_;
    int32_t units_ = 0;
    // Text up to settledBytes_ decodes the same whatever is appended; it holds settledUnits_.
    size_t settledBytes_ = 0;
    int32_t settledUnits_ = 0;
    bool locked_ = false;
    int fontSize_ = 8;
    ui::Color backColor_{};
    int32_t selStart_ = 0;
    int32_t selLength_ = 0;
    int refreshes_ = 0;
};

class HeadlessLabel : public ui::Label {
  public:
    explicit HeadlessLabel(bool visible = true) : visible_(visible) {}

    bool visible() const override { return visible_; }
    void setVisible(bool visible) override { visible_ = visible; }
    std::string caption() const override { return caption_; }
    void setCaption(const std::string& caption) override { caption_ = caption; }
    void refresh() override { ++refreshes_; }

    int refreshCount() const { return refreshes_; }

  private:
    bool visible_;
    std::string caption_;
    int refreshes_ = 0;
};

// A button; taking the focus writes its name into the window's focus.
class HeadlessButton : public ui::Button {
  public:
    HeadlessButton(std::string name, ui::Picture picture, bool visible, std::string* focus)
        : name_(std::move(name)), visible_(visible), picture_(picture), focus_(focus) {}

    bool visible() const override { return visible_; }
    void setVisible(bool visible) override { visible_ = visible; }
    bool enabled() const override { return enabled_; }
    void setEnabled(bool enabled) override { enabled_ = enabled; }
    ui::Picture picture() const override { return picture_; }
    void setPicture(ui::Picture picture) override { picture_ = picture; }
    void setFocus() override { *focus_ = name_; }

  private:
    std::string name_;
    bool visible_;
    bool enabled_ = true;
    ui::Picture picture_;
    std::string* focus_;
};

// The drive list and the progress bar keep the shared rules; only focus and visibility are
// their own here.
class HeadlessDriveList : public ui::DriveListBase {
  public:
    explicit HeadlessDriveList(std::string* focus);

    bool visible() const override { return visible_; }
    void setVisible(bool visible) override { visible_ = visible; }
    bool enabled() const override { return enabled_; }
    void setEnabled(bool enabled) override { enabled_ = enabled; }
    void setFocus() override { *focus_ = "DriveList"; }

  private:
    bool visible_ = true;
    bool enabled_ = true;
    std::string* focus_;
};

class HeadlessProgressBar : public ui::ProgressBarBase {
  public:
    bool visible() const override { return visible_; }
    void setVisible(bool visible) override { visible_ = visible; }

  private:
    bool visible_ = true;
};

class HeadlessLine : public ui::Line {
  public:
    HeadlessLine(int x1, int y1, int x2, int y2) : x1_(x1), y1_(y1), x2_(x2), y2_(y2) {}

    int x1() const override { return x1_; }
    int y1() const override { return y1_; }
    int x2() const override { return x2_; }
    int y2() const override { return y2_; }
    void setEnds(int x1, int y1, int x2, int y2) override;

  private:
    int x1_, y1_, x2_, y2_;
};

class HeadlessAboutBox : public ui::AboutBox {
  public:
    bool loaded() const override { return loaded_; }
    void load() override;
    void unload() override;
    void show() override;
    void setCaption(const std::string& caption) override { caption_ = caption; }
    std::string caption() const override { return caption_; }
    ui::Label& lblTitle() override { return title_; }
    ui::Label& lblVersion() override { return version_; }
    ui::Label& lblDescription() override { return description_; }

    bool shown() const { return shown_; }
    int loadCount() const { return loads_; }
    int showCount() const { return shows_; }

  private:
    bool loaded_ = false;
    bool shown_ = false;
    int loads_ = 0;
    int shows_ = 0;
    std::string caption_;
    HeadlessLabel title_, version_, description_;
};

}  // namespace headless
