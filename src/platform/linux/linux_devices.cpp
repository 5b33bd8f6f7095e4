// Discovery of the machine's media: our own small parsers of /proc/self/mounts, /sys/block and
// /dev/disk/by-label, so that a test can point all of it at a fixture tree.
//
// What counts:
// - "/" is the root (c:), whatever its device.
// - Floppy drives are listed whether or not a diskette is mounted (see isFloppyDrive).
// - A mounted block device counts once (its first mount wins; mounts of the root's device, and
//   mount points that are files, are left out). Loop devices count only when mounted below
//   /media, /mnt or /run/media, which keeps image mounts such as snaps off the list.
// - Network file systems count by their share; RAM file systems only below /media, /mnt or
//   /run/media, never the system's own (/run, /dev/shm, /tmp).
// Types: CD/DVD file systems or sr devices 4, RAM devices or file systems 5, network 3,
// floppy, removable, USB or MMC devices 1, everything else 2.
#include "platform/linux/linux_devices.h"

#include <algorithm>
#include <cctype>
#include <fstream>
#include <map>
#include <optional>
#include <set>
#include <sstream>
#include <system_error>

#include "platform/drives.h"

namespace platform::linuxdev {

namespace fsys = std::filesystem;

namespace {

// The first line of a small sysfs or udev file, without trailing blanks; "" when unreadable.
std::string readSmall(const fsys::path& file) {
    std::ifstream in(file);
    std::string line;
    if (!in || !std::getline(in, line))
        return "";
    while (!line.empty() && std::isspace(static_cast<unsigned char>(line.back())))
        line.pop_back();
    return line;
}

std::string readAll(const fsys::path& file) {
    std::ifstream in(file);
    if (!in)
        return "";
    std::ostringstream out;
    out << in.rdbuf();
    return out.str();
}

std::string lower(std::string s) {
    std::transform(s.begin(), s.end(), s.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return s;
}

bool startsWith(const std::string& s, const std::string& prefix) {
    return s.compare(0, prefix.size(), prefix) == 0;
}

// A path of the discovered system as a host path below the discovery root.
fsys::path below(const fsys::path& root, const std::string& systemPath) {
    if (root == "/")
        return systemPath;
    return root / fsys::path(systemPath).relative_path();
}

// True when `mountPoint` is one of `folders` or lies below one.
bool isBelowAny(const std::string& mountPoint, std::initializer_list<const char*> folders) {
    return std::any_of(folders.begin(), folders.end(), [&](const char* f) {
        const std::string folder = f;
        return mountPoint == folder || startsWith(mountPoint, folder + "/");
    });
}

bool isUserMediaFolder(const std::string& mountPoint) {
    return isBelowAny(mountPoint, {"/media", "/mnt", "/run/media"});
}

const std::set<std::string> networkTypes = {"nfs",   "nfs4",  "cifs",       "smb3",
                                            "smbfs", "sshfs", "fuse.sshfs", "ncpfs",
                                            "afs",   "davfs", "fuse.davfs2"};
const std::set<std::string> cdTypes = {"iso9660", "udf"};
const std::set<std::string> ramTypes = {"tmpfs", "ramfs"};

// Sizes of diskettes in 512-byte sectors: 360K, 720K, 1.2M, 1.44M, 1.68M (DMF), 2.88M.
const std::set<std::string> floppySectors = {"720", "1440", "2400", "2880", "3360", "5760"};

// The block-device tree as far as discovery needs it.
class BlockTree {
  public:
    explicit BlockTree(const fsys::path& root) : root_(root), sys_(below(root, "/sys/block")) {
        std::error_code ec;
        for (const auto& e : fsys::directory_iterator(sys_, ec)) {
            const std::string disk = e.path().filename().string();
            disks_.insert(disk);
            std::error_code ec2;
            for (const auto& sub : fsys::directory_iterator(e.path(), ec2)) {
                const std::string name = sub.path().filename().string();
                if (name.size() > disk.size() && startsWith(name, disk))
                    diskOf_[name] = disk;
            }
        }
    }

    const std::set<std::string>& disks() const { return disks_; }

    // The disk a device name belongs to: itself for a whole disk, the disk of a partition.
    std::string diskOf(const std::string& device) const {
        auto it = diskOf_.find(device);
        return it == diskOf_.end() ? device : it->second;
    }

    bool removable(const std::string& disk, int depth = 0) const {
        if (readSmall(sys_ / disk / "removable") == "1" || onUsb(disk) ||
            startsWith(disk, "mmcblk"))
            return true;
        // A mapped device (crypt, LVM) is as removable as what it sits on.
        std::error_code ec;
        if (depth < 4) {
            for (const auto& s : fsys::directory_iterator(sys_ / disk / "slaves", ec)) {
                if (removable(diskOf(s.path().filename().string()), depth + 1))
                    return true;
            }
        }
        return false;
    }

    bool onUsb(const std::string& disk) const {
        std::error_code ec;
        const fsys::path top = fsys::weakly_canonical(root_, ec);
        for (const auto& part : devicePath(disk).lexically_relative(top)) {
            if (startsWith(part.string(), "usb"))
                return true;
        }
        return false;
    }

    // True when the USB interface the disk hangs on is mass storage (08) of the floppy (UFI)
    // subclass (04).
    bool usbFloppyInterface(const std::string& disk) const {
        std::error_code ec;
        const fsys::path top = fsys::weakly_canonical(sys_.parent_path(), ec);
        fsys::path p = devicePath(disk);
        if (p.empty())
            return false;
        for (; p != top && p != p.parent_path(); p = p.parent_path()) {
            const std::string cls = readSmall(p / "bInterfaceClass");
            if (!cls.empty())
                return cls == "08" && readSmall(p / "bInterfaceSubClass") == "04";
        }
        return false;
    }

    std::string attribute(const std::string& disk, const std::string& name) const {
        return readSmall(sys_ / disk / name);
    }

  private:
    // The disk's folder in the device tree (where its /sys/block link points), "" if none.
    fsys::path devicePath(const std::string& disk) const {
        std::error_code ec;
        fsys::path p = fsys::weakly_canonical(sys_ / disk, ec);
        return ec ? fsys::path() : p;
    }

    fsys::path root_;
    fsys::path sys_;
    std::set<std::string> disks_;
    std::map<std::string, std::string> diskOf_;
};

bool udevSaysFloppy(const fsys::path& root, const std::string& majorMinor) {
    if (majorMinor.empty())
        return false;
    std::istringstream in(readAll(below(root, "/run/udev/data/b" + majorMinor)));
    std::string line;
    while (std::getline(in, line)) {
        if (line == "E:ID_DRIVE_FLOPPY=1" || line == "E:ID_TYPE=floppy")
            return true;
    }
    return false;
}

bool modelSaysFloppy(const std::string& model) {
    const std::string m = lower(model);
    for (const char* hint : {"floppy", "fdd", "usb-fdu", "uf000"}) {
        if (m.find(hint) != std::string::npos)
            return true;
    }
    return false;
}

bool floppyIn(const BlockTree& tree, const fsys::path& root, const std::string& disk) {
    if (disk.size() > 2 && startsWith(disk, "fd") &&
        std::all_of(disk.begin() + 2, disk.end(), [](unsigned char c) { return std::isdigit(c); }))
        return true;
    if (!tree.disks().count(disk))
        return false;
    if (tree.usbFloppyInterface(disk))
        return true;
    if (udevSaysFloppy(root, tree.attribute(disk, "dev")))
        return true;
    if (tree.attribute(disk, "removable") != "1" && !tree.onUsb(disk))
        return false;
    return floppySectors.count(tree.attribute(disk, "size")) != 0 ||
           modelSaysFloppy(tree.attribute(disk, "device/model"));
}

// Device name -> the name of its link in `folder` (/dev/disk/by-label, by-uuid).
std::map<std::string, std::string> readLinks(const fsys::path& root, const char* folder) {
    std::map<std::string, std::string> names;
    std::error_code ec;
    for (const auto& e : fsys::directory_iterator(below(root, folder), ec)) {
        std::error_code ec2;
        const fsys::path target = fsys::read_symlink(e.path(), ec2);
        if (ec2)
            continue;
        names[target.filename().string()] = decodeLabel(e.path().filename().string());
    }
    return names;
}

// The kernel name of the block device a mount source names ("/dev/disk/by-uuid/x" -> "sdb1").
std::string deviceName(const fsys::path& root, const std::string& source) {
    std::error_code ec;
    fsys::path p = below(root, source);
    if (fsys::is_symlink(p, ec)) {
        fsys::path target = fsys::read_symlink(p, ec);
        if (!ec)
            p = target.is_absolute() ? below(root, target.string()) : p.parent_path() / target;
    }
    return p.lexically_normal().filename().string();
}

// "//server/share" as a share is written on the designed-for platform: "\\server\share".
std::string shareText(const MountEntry& m) {
    std::string s = m.source;
    if (startsWith(s, "//"))
        std::replace(s.begin(), s.end(), '/', '\\');
    return s;
}

DriveType blockType(const BlockTree& tree, const std::string& disk, const std::string& fsType,
                    bool floppy) {
    if (cdTypes.count(fsType) || startsWith(disk, "sr"))
        return DriveType::cdRom;
    if (startsWith(disk, "ram") || startsWith(disk, "zram"))
        return DriveType::ramDisk;
    if (floppy || tree.removable(disk))
        return DriveType::removable;
    return DriveType::fixed;
}

}  // namespace

std::string decodeMountField(const std::string& field) {
    std::string out;
    for (size_t i = 0; i < field.size(); ++i) {
        if (field[i] == '\\' && i + 3 < field.size()) {
            const std::string digits = field.substr(i + 1, 3);
            if (std::all_of(digits.begin(), digits.end(),
                            [](char c) { return c >= '0' && c <= '7'; })) {
                out += static_cast<char>(std::stoi(digits, nullptr, 8));
                i += 3;
                continue;
            }
        }
        out += field[i];
    }
    return out;
}

std::string decodeLabel(const std::string& name) {
    std::string out;
    for (size_t i = 0; i < name.size(); ++i) {
        if (name[i] == '\\' && i + 3 < name.size() && name[i + 1] == 'x' &&
            std::isxdigit(static_cast<unsigned char>(name[i + 2])) &&
            std::isxdigit(static_cast<unsigned char>(name[i + 3]))) {
            out += static_cast<char>(std::stoi(name.substr(i + 2, 2), nullptr, 16));
            i += 3;
            continue;
        }
        out += name[i];
    }
    return out;
}

std::vector<MountEntry> parseMounts(const std::string& text) {
    std::vector<MountEntry> entries;
    std::istringstream in(text);
    std::string line;
    while (std::getline(in, line)) {
        std::istringstream fields(line);
        std::string source, mountPoint, fsType;
        if (!(fields >> source >> mountPoint >> fsType))
            continue;
        entries.push_back({decodeMountField(source), decodeMountField(mountPoint), fsType});
    }
    return entries;
}

std::string readMountTable(const fsys::path& root) {
    return readAll(below(root, "/proc/self/mounts"));
}

bool isFloppyDrive(const fsys::path& root, const std::string& disk) {
    return floppyIn(BlockTree(root), root, disk);
}

namespace {

// The last mount on a mount point hides those before it.
std::vector<MountEntry> visibleMounts(const std::string& mountTable) {
    std::vector<MountEntry> mounts;
    for (const MountEntry& m : parseMounts(mountTable)) {
        std::erase_if(mounts, [&](const MountEntry& o) { return o.mountPoint == m.mountPoint; });
        mounts.push_back(m);
    }
    return mounts;
}

// What discovery knows of the machine while it walks its mounts.
struct Machine {
    const fsys::path& root;
    const BlockTree& tree;
    std::map<std::string, std::string> labels;   // by device name
    std::map<std::string, std::string> serials;  // the file system's id ("1A2B-3C4D" on FAT)
    std::set<std::string> floppies;              // disk names
    std::string rootKey;                         // the root file system's, not listed again

    static std::string of(const std::map<std::string, std::string>& names,
                          const std::string& device) {
        auto it = names.find(device);
        return it == names.end() ? std::string() : it->second;
    }
    std::string labelOf(const std::string& device) const { return of(labels, device); }
};

// The drive a mount gives, if it gives one: a block device (the floppy under its disk's key),
// a network share, or a RAM disk the user mounted.
std::optional<Found> mountedDrive(const Machine& machine, const MountEntry& m) {
    const fsys::path host = below(machine.root, m.mountPoint);
    std::error_code ec;
    if (m.mountPoint == "/" || !fsys::is_directory(host, ec))
        return std::nullopt;
    Found f;
    f.mounted = true;
    f.hostRoot = host;
    if (startsWith(m.source, "/dev/")) {
        const std::string device = deviceName(machine.root, m.source);
        const std::string disk = machine.tree.diskOf(device);
        if (startsWith(disk, "loop") && !isUserMediaFolder(m.mountPoint))
            return std::nullopt;
        const bool floppy = machine.floppies.count(disk) != 0;
        f.key = "dev:" + (floppy ? disk : device);
        if (f.key == machine.rootKey)
            return std::nullopt;
        f.floppy = floppy;
        if (floppy)
            f.device = below(machine.root, "/dev/" + disk);
        f.type = blockType(machine.tree, disk, m.fsType, floppy);
        f.label = machine.labelOf(device);
        f.serial = Machine::of(machine.serials, device);
    } else if (networkTypes.count(m.fsType)) {
        f.key = "net:" + m.source;
        f.type = DriveType::network;
        f.label = shareText(m);
    } else if (ramTypes.count(m.fsType) && isUserMediaFolder(m.mountPoint)) {
        f.key = "ram:" + m.mountPoint;
        f.type = DriveType::ramDisk;
    } else {
        return std::nullopt;
    }
    return f;
}

}  // namespace

std::vector<Found> discover(const fsys::path& root, const std::string& mountTable) {
    const BlockTree tree(root);
    Machine machine{
        root, tree, readLinks(root, "/dev/disk/by-label"), readLinks(root, "/dev/disk/by-uuid"),
        {},   {}};
    const std::vector<MountEntry> mounts = visibleMounts(mountTable);

    Found rootDrive{"root", false, DriveType::fixed, true, "", root, {}, {}, false, {}};
    for (const MountEntry& m : mounts) {
        if (m.mountPoint == "/" && startsWith(m.source, "/dev/")) {
            const std::string device = deviceName(root, m.source);
            rootDrive.label = machine.labelOf(device);
            machine.rootKey = "dev:" + device;
        }
    }

    std::map<std::string, Found> found;  // by key
    for (const std::string& disk : tree.disks()) {
        if (!floppyIn(tree, root, disk))
            continue;
        machine.floppies.insert(disk);
        found["dev:" + disk] = Found{"dev:" + disk,
                                     true,
                                     DriveType::removable,
                                     false,
                                     "",
                                     {},
                                     below(root, "/dev/" + disk),
                                     {},
                                     false,
                                     {}};
    }
    for (const MountEntry& m : mounts) {
        std::optional<Found> f = mountedDrive(machine, m);
        if (!f)
            continue;
        auto it = found.find(f->key);
        if (it != found.end() && it->second.mounted)
            continue;  // the first mount wins
        found[f->key] = std::move(*f);
    }

    std::vector<Found> out{rootDrive};
    for (auto& [key, f] : found)
        out.push_back(std::move(f));
    return out;
}

}  // namespace platform::linuxdev
