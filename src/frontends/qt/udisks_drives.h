// The machine's drives as the desktop's disk service (udisks2, on the system bus) sees them,
// with the same letters as the drive table that reads the block-device tree itself: c: for "/",
// a: and b: for floppy drives, the next free letters for other media, for the whole run.
// Network shares and RAM disks, which the service does not know, still come from the mount
// table. Media in a drive are listed though not mounted; the program mounts them when it uses
// them and releases them after, and the service's signals tell when media come and go.
#pragma once

#include <QDBusConnection>
#include <QDBusObjectPath>
#include <QMap>
#include <QObject>
#include <QString>
#include <QVariantMap>
#include <filesystem>
#include <map>
#include <memory>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "platform/linux_drives.h"

namespace qtui {

class UDisksDriveTable : public QObject, public platform::LinuxDriveTable {
    Q_OBJECT

  public:
    // The table on `bus`; null when the bus is not connected or the service is not on it (the
    // caller then reads the block-device tree itself). `root` is where the mount table is read.
    static std::unique_ptr<UDisksDriveTable> open(const QDBusConnection& bus,
                                                  std::filesystem::path root = "/");

    std::string mountForUse(char letter) override;
    std::string releaseDiskette(char letter) override;
    std::string releaseCard(char letter) override;

  signals:
    // Media or drives came or went, or were mounted or unmounted: the list is worth reading.
    void drivesChanged();

  private slots:
    void serviceChanged();

  private:
    using Interfaces = QMap<QString, QVariantMap>;
    using Objects = QMap<QDBusObjectPath, Interfaces>;

    UDisksDriveTable(const QDBusConnection& bus, std::filesystem::path root);
    bool load();
    std::vector<platform::linuxdev::Found> discoverFrom(const std::string& mountTable) const;
    // The floppy drives the service knows of, with or without a diskette, by object path.
    std::map<QString, platform::linuxdev::Found> floppyDrives() const;
    // What a block object gives: its file system as a drive, or its part of a floppy drive
    // (taken into `floppies`); nothing for what is not a medium to offer.
    std::optional<platform::linuxdev::Found> blockDrive(
        Objects::const_iterator it, std::map<QString, platform::linuxdev::Found>& floppies) const;
    // Calls a file system method of the object; returns "" or the service's reason.
    QString callFilesystem(const std::string& object, const QString& method, QString* out);

    QDBusConnection bus_;
    Objects objects_;
    std::set<std::string> mountedByUs_;  // file system objects this program mounted
    std::string lastSeen_;               // what the last discovery found, to tell a change
};

}  // namespace qtui
