// A drive table that shows another's drives with every medium seen through a probe: the probe
// counts the work asked of the media (operations, and the entries their listings return), notes
// the largest single write, and can make the reading of one file fail to allocate memory.
#pragma once

#include <algorithm>
#include <map>
#include <memory>
#include <new>
#include <optional>
#include <string>
#include <vector>

#include "platform/drives.h"
#include "platform/medium.h"

namespace fstest {

struct Probe {
    uint64_t operations = 0;
    uint64_t listed = 0;
    size_t largestWrite = 0;
    std::string starved;  // reading this file (medium path) throws std::bad_alloc

    uint64_t work() const { return operations + listed; }
};

class ProbeFile : public platform::MediumFile {
  public:
    ProbeFile(std::unique_ptr<platform::MediumFile> inner, Probe& probe, bool starved)
        : inner_(std::move(inner)), probe_(probe), starved_(starved) {}
    size_t read(void* buffer, size_t size) override {
        if (starved_)
            throw std::bad_alloc();
        return inner_->read(buffer, size);
    }
    void write(const void* data, size_t size) override {
        probe_.largestWrite = std::max(probe_.largestWrite, size);
        inner_->write(data, size);
    }
    void close() override { inner_->close(); }

  private:
    std::unique_ptr<platform::MediumFile> inner_;
    Probe& probe_;
    bool starved_;
};

// Leaves resolve() and copyFileFrom() to Medium, so that what they do goes through the probe.
class ProbeMedium : public platform::Medium {
  public:
    ProbeMedium(std::shared_ptr<platform::Medium> inner, Probe& probe)
        : inner_(std::move(inner)), probe_(probe) {}

    std::vector<platform::MediumEntry> list(const std::string& folder) override {
        ++probe_.operations;
        std::vector<platform::MediumEntry> entries = inner_->list(folder);
        probe_.listed += entries.size();
        return entries;
    }
    std::optional<platform::MediumEntry> entry(const std::string& path) override {
        ++probe_.operations;
        return inner_->entry(path);
    }
    std::unique_ptr<platform::MediumFile> open(const std::string& path, platform::OpenMode mode,
                                               bool create) override {
        ++probe_.operations;
        return std::make_unique<ProbeFile>(
            inner_->open(path, mode, create), probe_,
            mode == platform::OpenMode::read && path == probe_.starved);
    }
    void makeFolder(const std::string& path) override {
        ++probe_.operations;
        inner_->makeFolder(path);
    }
    void removeFolder(const std::string& path) override {
        ++probe_.operations;
        inner_->removeFolder(path);
    }
    void deleteFile(const std::string& path) override {
        ++probe_.operations;
        inner_->deleteFile(path);
    }
    void rename(const std::string& from, const std::string& to) override {
        ++probe_.operations;
        inner_->rename(from, to);
    }
    uint64_t freeBytes() override { return inner_->freeBytes(); }
    void flushTree(const std::string& folder) override {
        ++probe_.operations;
        inner_->flushTree(folder);
    }

  private:
    std::shared_ptr<platform::Medium> inner_;
    Probe& probe_;
};

class ProbedDrives : public platform::DriveTable {
  public:
    explicit ProbedDrives(platform::DriveTable& inner) : inner_(inner) {}

    std::vector<platform::Drive> list() override {
        std::vector<platform::Drive> drives = inner_.list();
        for (platform::Drive& d : drives)
            seeThrough(d);
        return drives;
    }
    std::optional<platform::Drive> find(char letter) override {
        std::optional<platform::Drive> d = inner_.find(letter);
        if (d)
            seeThrough(*d);
        return d;
    }

    Probe probe;

  private:
    // One probe medium for each medium, so that two paths on a drive share their medium.
    void seeThrough(platform::Drive& d) {
        if (!d.medium)
            return;
        auto& seen = probes_[d.medium.get()];
        if (!seen)
            seen = std::make_shared<ProbeMedium>(d.medium, probe);
        d.medium = seen;
    }

    platform::DriveTable& inner_;
    std::map<platform::Medium*, std::shared_ptr<ProbeMedium>> probes_;
};

}  // namespace fstest
