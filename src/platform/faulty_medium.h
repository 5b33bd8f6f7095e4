// The fault wrapper: any medium with faults planted on it, as failing media show them. Folder
// drives in tests and scripts are host folders in this wrapper; the countdown walks every
// failing operation of a whole conversion.
#pragma once

#include <array>
#include <cstdint>
#include <map>
#include <memory>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "platform/medium.h"

namespace platform {

struct Faults {
    bool readonly = false;             // every change fails with 70
    std::optional<uint64_t> capacity;  // writes beyond this many bytes fail with 61
    std::vector<std::string> bad;      // files whose reading fails with 57 ("db\data.dat")
    std::vector<std::string> corrupt;  // files that read back changed once written
    std::optional<uint64_t> failAt;    // the Nth change and every one after fail with 57
    // The Nth change is the last that reaches the medium: every later operation fails with 57,
    // as when a card is pulled or the power goes.
    std::optional<uint64_t> cutAfter;
    // A diskette image's 512-byte sectors that fail to read: that many times, or always.
    std::map<uint64_t, std::optional<uint32_t>> badSectors;
};

// The kinds of operation a countdown counts.
enum class OpKind : int {
    look,    // a listing or a look-up of one entry
    open,    // opening a file to read
    read,    // reading a block
    change,  // a creation, truncation, append, write, deletion or removal
    flush,   // flushing a tree, opening a file to read it back
};
constexpr int opKindCount = 5;

class FaultyMedium : public Medium {
  public:
    FaultyMedium(std::shared_ptr<Medium> inner, Faults faults);

    // The Nth operation of `kind` from now on fails with 57: once, or with every later one of
    // that kind when `persist`. Counting starts afresh.
    void failNth(OpKind kind, uint64_t n, bool persist);
    // No countdown from now on (the counts go on).
    void clearCountdown() { countdown_.reset(); }
    // Operations of each kind made so far.
    uint64_t count(OpKind kind) const { return counts_[static_cast<size_t>(kind)]; }
    // Bytes written to the medium since it was inserted.
    uint64_t written() const { return written_; }

    std::vector<MediumEntry> list(const std::string& folder) override;
    std::optional<MediumEntry> entry(const std::string& path) override;
    std::string resolve(const std::string& path) override;
    std::unique_ptr<MediumFile> open(const std::string& path, OpenMode mode, bool create) override;
    void makeFolder(const std::string& path) override;
    void removeFolder(const std::string& path) override;
    void deleteFile(const std::string& path) override;
    void rename(const std::string& from, const std::string& to) override;
    void copyFileFrom(Medium& source, const std::string& from, const std::string& to) override;
    uint64_t freeBytes() override;
    uint64_t clusterBytes() override { return inner_->clusterBytes(); }
    std::string label() override { return inner_->label(); }
    void flushTree(const std::string& folder) override;
    std::unique_ptr<MediumFile> openReadBack(const std::string& path) override;
    std::string hostPath(const std::string& path) override;
    std::optional<DisketteRead> disketteRead() override { return inner_->disketteRead(); }
    bool disketteReadBefore() override { return inner_->disketteReadBefore(); }

    // For the open files: one operation of `kind`, which may be the one that fails.
    void tick(OpKind kind);
    // True once the medium has been cut off (Faults::cutAfter).
    bool isCut() const { return faults_.cutAfter && reached_ >= *faults_.cutAfter; }
    // Changes that reached the medium since it was inserted, writes of open files included.
    uint64_t changesReached() const { return reached_; }
    // Bytes of a write of `size` the medium takes (raising 61 after writing those, by the caller).
    uint64_t admit(uint64_t size);
    bool isBad(const std::string& path) const;
    bool isCorrupt(const std::string& path) const;
    void noteWritten(const std::string& path);
    bool wasWritten(const std::string& path) const;

  private:
    void change();
    void countOp(OpKind kind);
    bool listedAs(const std::vector<std::string>& names, const std::string& path) const;
    std::unique_ptr<MediumFile> reading(const std::string& path, std::unique_ptr<MediumFile> file);
    bool planted() const;

    std::shared_ptr<Medium> inner_;
    Faults faults_;
    std::array<uint64_t, opKindCount> counts_{};
    uint64_t changes_ = 0;  // for failAt, counted since insertion
    uint64_t reached_ = 0;  // for cutAfter: changes_ and the writes of open files
    uint64_t written_ = 0;
    struct Countdown {
        OpKind kind;
        uint64_t at;
        bool persist;
    };
    std::optional<Countdown> countdown_;
    std::set<std::string> writtenFiles_;  // normal form, for corrupt=
};

}  // namespace platform
