// The shared rules of the drive list and the progress bar.
#include "ui/controls.h"

#include "platform/context.h"
#include "platform/error.h"

namespace ui {

std::string DriveListBase::entryAt(int16_t index) const {
    if (index < 0 || index >= listCount())
        platform::raise(platform::err::subscriptOutOfRange);
    return entries_[static_cast<size_t>(index)];
}

void DriveListBase::setListIndex(int16_t index) {
    if (index < 0 || index >= listCount())
        platform::raise(platform::err::invalidPropertyValue);
    const bool changed = index != index_;
    index_ = index;
    showIndex(index_);
    if (changed && handler_)
        handler_();
}

std::string DriveListBase::drive() const {
    return index_ < 0 ? std::string() : entries_[static_cast<size_t>(index_)];
}

void DriveListBase::refreshDrives() {
    const std::string current = drive();
    entries_.clear();
    for (const auto& d : platform::drives().list())
        entries_.push_back(d.entry);
    index_ = -1;
    for (size_t i = 0; i < entries_.size() && !current.empty(); ++i) {
        if (entries_[i].compare(0, 2, current, 0, 2) == 0)
            index_ = static_cast<int16_t>(i);
    }
    showEntries(entries_);
    showIndex(index_);
}

void ProgressBarBase::setMin(float value) {
    min_ = value;
    showBar();
}

void ProgressBarBase::setMax(float value) {
    max_ = value;
    showBar();
}

void ProgressBarBase::setValue(float value) {
    if (!(value >= min_ && value <= max_))
        platform::raise(platform::err::invalidPropertyValue);
    value_ = value;
    showBar();
}

}  // namespace ui
