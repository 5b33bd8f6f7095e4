// The rules of the controls that every toolkit keeps the same way, written once: the drive
// list's index and its change handling, and the progress bar's range. A toolkit derives from
// these and only shows what they hold.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "ui/main_window.h"

namespace ui {

// The drive list: the installed drive table's entries, read when it is made and on
// refreshDrives(); no entry is current (index -1) until the index is set.
class DriveListBase : public DriveList {
  public:
    int16_t listCount() const override { return static_cast<int16_t>(entries_.size()); }
    // Raises err::subscriptOutOfRange for an index outside the list.
    std::string entryAt(int16_t index) const override;
    int16_t listIndex() const override { return index_; }
    // Raises err::invalidPropertyValue outside 0 to listCount - 1; a new index raises the change
    // handler at once.
    void setListIndex(int16_t index) override;
    std::string drive() const override;
    // Re-reads the drive table; the index stays with the drive letter it pointed at, and is -1
    // when that drive is gone.
    void refreshDrives() override;
    void setChangeHandler(std::function<void()> handler) override { handler_ = std::move(handler); }

  protected:
    // The toolkit shows the entries, then the current index (-1: none).
    virtual void showEntries(const std::vector<std::string>& /*entries*/) {}
    virtual void showIndex(int16_t /*index*/) {}

  private:
    std::vector<std::string> entries_;
    int16_t index_ = -1;
    std::function<void()> handler_;
};

class ProgressBarBase : public ProgressBar {
  public:
    float min() const override { return min_; }
    void setMin(float value) override;
    float max() const override { return max_; }
    void setMax(float value) override;
    float value() const override { return value_; }
    // Raises err::invalidPropertyValue for a value outside min to max.
    void setValue(float value) override;

  protected:
    // The toolkit draws the bar anew.
    virtual void showBar() {}

  private:
    float min_ = 0, max_ = 100, value_ = 0;
};

}  // namespace ui
