// The drive table on udisks2: its objects read with GetManagedObjects, read again when the
// service signals a change, and turned into what the Linux drive table letters.
#include "frontends/qt/udisks_drives.h"

#include <QByteArrayList>
#include <QDBusArgument>
#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QDBusMetaType>
#include <QDBusReply>
#include <QStringList>
#include <algorithm>
#include <map>
#include <utility>

#include "platform/error.h"
#include "platform/text_case.h"

namespace qtui {

namespace linuxdev = platform::linuxdev;

namespace {

const QString service = "org.freedesktop.UDisks2";
const QString managerPath = "/org/freedesktop/UDisks2";
const QString objectManager = "org.freedesktop.DBus.ObjectManager";
const QString driveIface = "org.freedesktop.UDisks2.Drive";
const QString blockIface = "org.freedesktop.UDisks2.Block";
const QString partitionIface = "org.freedesktop.UDisks2.Partition";
const QString filesystemIface = "org.freedesktop.UDisks2.Filesystem";

// A mount may wait for the user to authorise it.
constexpr int mountTimeoutMs = 120000;

QByteArray withoutNul(QByteArray bytes) {
    while (bytes.endsWith('\0'))
        bytes.chop(1);
    return bytes;
}

QStringList strings(const QVariant& v) {
    if (v.canConvert<QDBusArgument>())
        return qdbus_cast<QStringList>(v.value<QDBusArgument>());
    return v.toStringList();
}

// An array of byte strings ("aay"), as the service's mount points are.
QByteArrayList byteStrings(const QVariant& v) {
    QByteArrayList out;
    if (v.canConvert<QDBusArgument>())
        out = qdbus_cast<QByteArrayList>(v.value<QDBusArgument>());
    else
        out = v.value<QByteArrayList>();
    for (QByteArray& b : out)
        b = withoutNul(b);
    return out;
}

std::string text(const QVariant& v) {
    if (v.userType() == QMetaType::QByteArray)
        return withoutNul(v.toByteArray()).toStdString();
    return v.toString().toStdString();
}

bool isFloppyDrive(const QVariantMap& drive) {
    const QStringList media = strings(drive.value("MediaCompatibility"));
    return std::any_of(media.begin(), media.end(),
                       [](const QString& m) { return m.startsWith("floppy"); });
}

// /dev/fd0 and the like: the kernel's floppy drives, which the service lists without a drive.
bool isKernelFloppy(const std::string& device) {
    const std::string name = device.substr(device.find_last_of('/') + 1);
    return name.size() > 2 && name.compare(0, 2, "fd") == 0 &&
           std::all_of(name.begin() + 2, name.end(),
                       [](unsigned char c) { return c >= '0' && c <= '9'; });
}

platform::DriveType typeOf(const QVariantMap& drive, const QVariantMap& block) {
    const std::string device = text(block.value("Device"));
    const std::string name = device.substr(device.find_last_of('/') + 1);
    const QString fsType = block.value("IdType").toString();
    if (drive.value("Optical").toBool() || fsType == "iso9660" || fsType == "udf")
        return platform::DriveType::cdRom;
    if (name.rfind("ram", 0) == 0 || name.rfind("zram", 0) == 0)
        return platform::DriveType::ramDisk;
    const QString bus = drive.value("ConnectionBus").toString();
    if (drive.value("Removable").toBool() || drive.value("MediaRemovable").toBool() ||
        bus == "usb" || bus == "sdio")
        return platform::DriveType::removable;
    return platform::DriveType::fixed;
}

// The file system on a block object, as the drive table needs it.
void takeFilesystem(linuxdev::Found& f, const QString& object, const QVariantMap& block,
                    const QVariantMap& filesystem) {
    f.object = object.toStdString();
    f.label = block.value("IdLabel").toString().toStdString();
    f.serial = block.value("IdUUID").toString().toStdString();
    const QByteArrayList points = byteStrings(filesystem.value("MountPoints"));
    f.mounted = !points.isEmpty();
    f.hostRoot = f.mounted ? std::filesystem::path(points.first().toStdString()) : "";
    f.present = !f.mounted;
}

std::string letterText(char letter) {
    return std::string(1, platform::upperLetter(letter)) + ":";
}

std::string describeAll(const std::vector<linuxdev::Found>& found) {
    std::string out;
    for (const auto& f : found) {
        out += f.key + '|' + std::to_string(static_cast<int>(f.type)) + '|' +
               (f.mounted ? "m" : "") + (f.present ? "p" : "") + '|' + f.label + '|' +
               f.hostRoot.string() + '|' + f.device.string() + '|' + f.object + '\n';
    }
    return out;
}

}  // namespace

UDisksDriveTable::UDisksDriveTable(const QDBusConnection& bus, std::filesystem::path root)
    : platform::LinuxDriveTable(
          std::move(root),
          [this](const std::string& mountTable) { return discoverFrom(mountTable); }),
      bus_(bus) {}

std::unique_ptr<UDisksDriveTable> UDisksDriveTable::open(const QDBusConnection& bus,
                                                         std::filesystem::path root) {
    if (!bus.isConnected() || bus.interface() == nullptr)
        return nullptr;
    // Started on demand on most systems: activatable is as good as running.
    QDBusConnectionInterface* names = bus.interface();
    if (!names->isServiceRegistered(service).value() &&
        !names->activatableServiceNames().value().contains(service))
        return nullptr;
    qDBusRegisterMetaType<Interfaces>();
    qDBusRegisterMetaType<Objects>();
    std::unique_ptr<UDisksDriveTable> table(new UDisksDriveTable(bus, std::move(root)));
    if (!table->load())
        return nullptr;
    table->lastSeen_ = describeAll(table->discoverFrom(table->mountTable()));
    // Any object of the service: drives and media come and go, file systems are mounted.
    table->bus_.connect(service, managerPath, objectManager, "InterfacesAdded", table.get(),
                        SLOT(serviceChanged()));
    table->bus_.connect(service, managerPath, objectManager, "InterfacesRemoved", table.get(),
                        SLOT(serviceChanged()));
    table->bus_.connect(service, QString(), "org.freedesktop.DBus.Properties", "PropertiesChanged",
                        table.get(), SLOT(serviceChanged()));
    return table;
}

bool UDisksDriveTable::load() {
    const QDBusMessage call =
        QDBusMessage::createMethodCall(service, managerPath, objectManager, "GetManagedObjects");
    const QDBusReply<Objects> reply = bus_.call(call, QDBus::Block, 10000);
    if (!reply.isValid())
        return false;
    objects_ = reply.value();
    return true;
}

std::vector<linuxdev::Found> UDisksDriveTable::discoverFrom(const std::string& mountTable) const {
    std::vector<linuxdev::Found> out;
    // What the service does not know: "/" itself, network shares, RAM file systems.
    for (linuxdev::Found& f : discoverDirectly(mountTable)) {
        if (f.key == "root" || f.key.rfind("net:", 0) == 0 || f.key.rfind("ram:", 0) == 0)
            out.push_back(std::move(f));
    }
    std::map<QString, linuxdev::Found> floppies = floppyDrives();
    for (auto it = objects_.begin(); it != objects_.end(); ++it) {
        if (std::optional<linuxdev::Found> f = blockDrive(it, floppies))
            out.push_back(std::move(*f));
    }
    for (auto& [key, f] : floppies)
        out.push_back(std::move(f));
    std::stable_sort(
        out.begin() + (out.empty() || out.front().key != "root" ? 0 : 1), out.end(),
        [](const linuxdev::Found& a, const linuxdev::Found& b) { return a.key < b.key; });
    return out;
}

// A drive object or, for the kernel's own floppy drives, the block object is the drive.
std::map<QString, linuxdev::Found> UDisksDriveTable::floppyDrives() const {
    std::map<QString, linuxdev::Found> floppies;
    for (auto it = objects_.begin(); it != objects_.end(); ++it) {
        if (it->contains(driveIface) && isFloppyDrive(it->value(driveIface))) {
            linuxdev::Found& f = floppies[it.key().path()];
            f.key = "udisks:" + it.key().path().toStdString();
            f.floppy = true;
            f.type = platform::DriveType::removable;
        }
    }
    return floppies;
}

std::optional<linuxdev::Found> UDisksDriveTable::blockDrive(
    Objects::const_iterator it, std::map<QString, linuxdev::Found>& floppies) const {
    if (!it->contains(blockIface))
        return std::nullopt;
    const QVariantMap block = it->value(blockIface);
    if (block.value("HintIgnore").toBool())
        return std::nullopt;
    const std::string device = text(block.value("Device"));
    const QString drivePath = block.value("Drive").value<QDBusObjectPath>().path();
    QString floppyKey;
    if (floppies.count(drivePath))
        floppyKey = drivePath;
    else if (isKernelFloppy(device))
        floppyKey = it.key().path();
    if (!floppyKey.isEmpty()) {
        linuxdev::Found& f = floppies[floppyKey];
        if (f.key.empty()) {
            f.key = "udisks:" + floppyKey.toStdString();
            f.floppy = true;
            f.type = platform::DriveType::removable;
        }
        if (!it->contains(partitionIface))
            f.device = device;  // the whole diskette, read directly where the user may
        if (it->contains(filesystemIface))
            takeFilesystem(f, it.key().path(), block, it->value(filesystemIface));
        return std::nullopt;
    }
    if (!it->contains(filesystemIface))
        return std::nullopt;
    const QVariantMap drive = objects_.value(QDBusObjectPath(drivePath)).value(driveIface);
    linuxdev::Found f;
    f.key = "udisks:" + it.key().path().toStdString();
    f.type = typeOf(drive, block);
    takeFilesystem(f, it.key().path(), block, it->value(filesystemIface));
    const QByteArrayList points = byteStrings(it->value(filesystemIface).value("MountPoints"));
    if (points.contains("/"))
        return std::nullopt;  // the root is c:
    // The machine's own unmounted partitions are not media to offer.
    if (!f.mounted && block.value("HintSystem").toBool())
        return std::nullopt;
    return f;
}

QString UDisksDriveTable::callFilesystem(const std::string& object, const QString& method,
                                         QString* out) {
    QDBusMessage call = QDBusMessage::createMethodCall(service, QString::fromStdString(object),
                                                       filesystemIface, method);
    call << QVariantMap();
    const QDBusMessage reply = bus_.call(call, QDBus::Block, mountTimeoutMs);
    if (reply.type() != QDBusMessage::ReplyMessage)
        return reply.errorMessage().isEmpty() ? reply.errorName() : reply.errorMessage();
    if (out != nullptr && !reply.arguments().isEmpty())
        *out = reply.arguments().first().toString();
    return "";
}

std::string UDisksDriveTable::mountForUse(char letter) {
    const std::optional<platform::Drive> drive = find(letter);
    // A floppy this user may not read itself: said before the mount that reads it instead.
    const std::string note = LinuxDriveTable::mountForUse(letter);
    const auto said = [&](const std::string& line) {
        return note.empty() ? line : line.empty() ? note : note + "\r\n" + line;
    };
    if (!drive || drive->medium)
        return said("");  // mounted already, or a diskette read directly
    const linuxdev::Found* f = foundAt(letter);
    if (f == nullptr || !f->present || f->object.empty())
        return said("");
    const std::string object = f->object;
    QString mountPoint;
    const QString why = callFilesystem(object, "Mount", &mountPoint);
    if (!why.isEmpty())
        throw platform::Error(platform::err::diskNotReady,
                              "Could not mount " + letterText(letter) + " " + why.toStdString());
    mountedByUs_.insert(object);
    load();
    // The mount point as the service answered, should its properties lag behind.
    QVariantMap& filesystem =
        objects_[QDBusObjectPath(QString::fromStdString(object))][filesystemIface];
    if (byteStrings(filesystem.value("MountPoints")).isEmpty())
        filesystem["MountPoints"] = QVariant::fromValue(QByteArrayList{mountPoint.toUtf8()});
    invalidate();
    return said("Mounted " + letterText(letter) + " on " + mountPoint.toStdString());
}

std::string UDisksDriveTable::releaseDiskette(char letter) {
    const linuxdev::Found* f = foundAt(letter);
    if (f == nullptr || !f->floppy || !mountedByUs_.count(f->object))
        return "";
    const std::string object = f->object;
    const QString why = callFilesystem(object, "Unmount", nullptr);
    if (!why.isEmpty())
        return letterText(letter) + " stays mounted: " + why.toStdString();
    mountedByUs_.erase(object);
    load();
    invalidate();
    return "Unmounted " + letterText(letter);
}

std::string UDisksDriveTable::releaseCard(char letter) {
    const linuxdev::Found* f = foundAt(letter);
    if (f == nullptr || f->object.empty() || !f->mounted ||
        f->type != platform::DriveType::removable)
        return "";
    const std::string object = f->object;
    const QString why = callFilesystem(object, "Unmount", nullptr);
    if (!why.isEmpty())
        return letterText(letter) + " stays mounted: " + why.toStdString() +
               ". Its database is written and verified; close what uses the card before "
               "removing it.";
    mountedByUs_.erase(object);
    load();
    invalidate();
    return letterText(letter) + " can now be removed.";
}

void UDisksDriveTable::serviceChanged() {
    if (!load())
        return;
    std::string seen = describeAll(discoverFrom(mountTable()));
    if (seen == lastSeen_)
        return;
    lastSeen_ = std::move(seen);
    invalidate();
    emit drivesChanged();
}

}  // namespace qtui
