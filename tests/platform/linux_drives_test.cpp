// The machine's drive table against fixture trees: a mount table, a block-device tree and
// labels laid out in a scratch folder as the kernel and udev lay them out on a machine.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "platform/linux/linux_devices.h"
#include "platform/linux_drives.h"
#include "support/test_support.h"

namespace {

namespace fsys = std::filesystem;
using platform::Drive;
using platform::LinuxDriveTable;
using testsupport::ScratchDir;
using testsupport::writeFile;

// The host folder of the medium in a drive; empty when the drive holds none.
fsys::path rootOf(const Drive& d) {
    return d.medium ? fsys::path(d.medium->hostPath("")) : fsys::path();
}

struct DiskPlan {
    std::string removable = "0";
    std::string size = "0";
    std::string model = "";
    bool usb = false;
    std::string usbSubclass = "06";  // SCSI transparent: sticks and card readers
    std::string dev = "8:0";
};

// A machine laid out below a scratch folder.
class Machine {
  public:
    const fsys::path& root() const { return dir_.path(); }

    void mounts(const std::string& text) { writeFile(root() / "proc/self/mounts", text); }

    // A folder that a mount table line names as its mount point.
    fsys::path folder(const std::string& mountPoint) const {
        return dir_.make(fsys::path(mountPoint).relative_path().string());
    }

    void disk(const std::string& name, const DiskPlan& plan) {
        const std::string device =
            plan.usb ? "sys/devices/pci0000:00/0000:00:14.0/usb1/1-1/1-1:1.0/host6/target6:0:0/"
                       "6:0:0:0/block/" +
                           name
                     : "sys/devices/pci0000:00/0000:00:17.0/ata1/host0/target0:0:0/0:0:0:0/"
                       "block/" +
                           name;
        const fsys::path dev = dir_.make(device);
        writeFile(dev / "removable", plan.removable + "\n");
        writeFile(dev / "size", plan.size + "\n");
        writeFile(dev / "dev", plan.dev + "\n");
        if (!plan.model.empty())
            writeFile(dev / "device/model", plan.model + "    \n");
        if (plan.usb) {
            const fsys::path iface =
                root() / "sys/devices/pci0000:00/0000:00:14.0/usb1/1-1/1-1:1.0";
            writeFile(iface / "bInterfaceClass", "08\n");
            writeFile(iface / "bInterfaceSubClass", plan.usbSubclass + "\n");
        }
        dir_.make("sys/block");
        fsys::create_directory_symlink(
            "../" + fsys::path(device).lexically_relative("sys").string(),
            root() / "sys/block" / name);
    }

    void partition(const std::string& disk, const std::string& part) {
        dir_.make("sys/block/" + disk + "/" + part);
        writeFile(root() / "sys/block" / disk / part / "partition", "1\n");
    }

    // A by-label link as udev writes it (name already escaped).
    void label(const std::string& escapedName, const std::string& device) {
        dir_.make("dev/disk/by-label");
        fsys::create_symlink("../../" + device, root() / "dev/disk/by-label" / escapedName);
    }
    // A by-uuid link: a FAT volume's serial number.
    void uuid(const std::string& id, const std::string& device) {
        dir_.make("dev/disk/by-uuid");
        fsys::create_symlink("../../" + device, root() / "dev/disk/by-uuid" / id);
    }

    // The device `disk` is mapped onto `slave` (crypt, LVM).
    void slave(const std::string& disk, const std::string& slaveDevice) {
        dir_.make("sys/block/" + disk + "/slaves/" + slaveDevice);
    }

    void link(const std::string& path, const std::string& target) {
        fsys::create_directories((root() / path).parent_path());
        fsys::create_symlink(target, root() / path);
    }

  private:
    ScratchDir dir_;
};

Drive driveOf(LinuxDriveTable& table, char letter) {
    auto d = table.find(letter);
    EXPECT_TRUE(d.has_value()) << "no drive " << letter;
    return d.value_or(Drive{});
}

std::string letters(LinuxDriveTable& table) {
    std::string out;
    for (const Drive& d : table.list())
        out += d.entry + (d.ready ? "" : "(-)") + " ";
    return out;
}

const std::string systemMounts =
    "proc /proc proc rw,relatime 0 0\n"
    "sysfs /sys sysfs rw 0 0\n"
    "/dev/sda2 / ext4 rw,relatime 0 0\n"
    "tmpfs /run tmpfs rw,nosuid 0 0\n"
    "tmpfs /dev/shm tmpfs rw 0 0\n"
    "tmpfs /tmp tmpfs rw 0 0\n"
    "tmpfs /run/user/1000 tmpfs rw 0 0\n"
    "/dev/sda2 /var/snapshots ext4 rw 0 0\n";

TEST(LinuxDevices, MountFieldsAndLabelsDecodeTheirEscapes) {
    EXPECT_EQ(platform::linuxdev::decodeMountField("/media/u/MY\\040DISC"), "/media/u/MY DISC");
    EXPECT_EQ(platform::linuxdev::decodeMountField("a\\134b\\011c"), "a\\b\tc");
    EXPECT_EQ(platform::linuxdev::decodeMountField("trailing\\04"), "trailing\\04");
    EXPECT_EQ(platform::linuxdev::decodeLabel("MY\\x20DISC\\x2fA"), "MY DISC/A");
    EXPECT_EQ(platform::linuxdev::decodeLabel("odd\\x2"), "odd\\x2");

    auto m = platform::linuxdev::parseMounts(
        "a /b ext4 rw 0 0\n\nbroken\n//s/x /mnt/x\\040y cifs rw 0 0\n");
    ASSERT_EQ(m.size(), 2u);
    EXPECT_EQ(m[1].source, "//s/x");
    EXPECT_EQ(m[1].mountPoint, "/mnt/x y");
    EXPECT_EQ(m[1].fsType, "cifs");
}

TEST(LinuxDrives, RootIsCWithItsLabelAndSystemFileSystemsAreLeftOut) {
    Machine m;
    m.mounts(systemMounts);
    m.disk("sda", {.size = "500000000"});
    m.partition("sda", "sda2");
    m.label("SYSTEM", "sda2");
    m.folder("/run/user/1000");
    m.folder("/var/snapshots");
    LinuxDriveTable table(m.root());

    auto list = table.list();
    ASSERT_EQ(list.size(), 1u) << letters(table);
    EXPECT_EQ(list[0].letter, 'C');
    EXPECT_EQ(list[0].type, platform::DriveType::fixed);
    EXPECT_TRUE(list[0].ready);
    EXPECT_EQ(list[0].volumeName, "SYSTEM");
    EXPECT_EQ(list[0].entry, "c: [SYSTEM]");
    EXPECT_EQ(rootOf(list[0]), m.root());
    EXPECT_GT(list[0].freeBytes, 0u);
    EXPECT_FALSE(table.find('d').has_value());
}

TEST(LinuxDrives, UsbFloppyDriveWithoutAndWithADiskette) {
    Machine m;
    m.mounts(systemMounts);
    m.disk("sdb", {.removable = "1",
                   .size = "0",
                   .model = "USB-FDU",
                   .usb = true,
                   .usbSubclass = "04",
                   .dev = "8:16"});
    LinuxDriveTable table(m.root());

    Drive a = driveOf(table, 'a');
    EXPECT_EQ(a.type, platform::DriveType::removable);
    EXPECT_FALSE(a.ready);
    EXPECT_EQ(a.entry, "a:");
    EXPECT_TRUE(rootOf(a).empty());
    EXPECT_EQ(a.freeBytes, 0u);

    // The diskette goes in and the desktop mounts it.
    const fsys::path disk1 = m.folder("/media/u/DISK1");
    m.mounts(systemMounts + "/dev/sdb /media/u/DISK1 vfat rw 0 0\n");
    m.label("DISK1", "sdb");
    a = driveOf(table, 'A');
    EXPECT_TRUE(a.ready);
    EXPECT_EQ(rootOf(a), disk1);
    EXPECT_EQ(a.volumeName, "DISK1");
    EXPECT_EQ(a.entry, "a:");  // removable drives show no label in the list
    EXPECT_GT(a.freeBytes, 0u);
}

// A floppy device this user may read is read directly, a fresh look at every look: a swapped
// diskette is seen at once, mounted or not; an unreadable one falls back to the mount.
TEST(LinuxDrives, ReadableFloppyDeviceIsReadDirectly) {
    Machine m;
    m.mounts(systemMounts);
    m.disk("fd0", {.removable = "1", .dev = "2:0"});
    const fsys::path images = fsys::path(__FILE__).parent_path() / "../../samples/site42/images";
    const fsys::path device = m.root() / "dev/fd0";
    fsys::create_directories(device.parent_path());
    fsys::copy_file(images / "disk1.img", device);
    LinuxDriveTable table(m.root());

    Drive a = driveOf(table, 'a');
    EXPECT_TRUE(a.ready);
    EXPECT_EQ(a.volumeName, "DISK1");
    EXPECT_TRUE(table.mediumOf('A')->entry("archive.dat").has_value());

    fsys::copy_file(images / "disk2.img", device, fsys::copy_options::overwrite_existing);
    a = driveOf(table, 'A');
    EXPECT_EQ(a.volumeName, "DISK2");
    EXPECT_TRUE(table.mediumOf('A')->entry("disk0002.dat").has_value());

    // No FAT volume in the device: the drive is what the mount table says.
    writeFile(device, std::string(4096, '\0'));
    EXPECT_FALSE(driveOf(table, 'A').ready);
}

TEST(LinuxDrives, FloppyDrivesAreToldByKernelNameSizeModelOrUdev) {
    Machine m;
    m.mounts(systemMounts);
    m.disk("fd0", {.removable = "1", .dev = "2:0"});
    m.disk("sdb", {.removable = "1", .size = "2880", .usb = true, .dev = "8:16"});
    m.disk("sdc", {.removable = "1", .size = "0", .model = "USB Floppy", .dev = "8:32"});
    m.disk("sdd", {.removable = "1", .size = "0", .dev = "8:48"});
    writeFile(m.root() / "run/udev/data/b8:48", "S:disk/by-id/x\nE:ID_DRIVE_FLOPPY=1\n");
    // Not floppies: a card reader with a card, an empty card reader, a fixed disk of odd size.
    m.disk("sde", {.removable = "1", .size = "250000", .usb = true, .dev = "8:64"});
    m.disk("sdf",
           {.removable = "1", .size = "0", .model = "Card Reader", .usb = true, .dev = "8:80"});
    m.disk("sdg", {.removable = "0", .size = "2880", .dev = "8:96"});
    for (const char* d : {"fd0", "sdb", "sdc", "sdd"})
        EXPECT_TRUE(platform::linuxdev::isFloppyDrive(m.root(), d)) << d;
    for (const char* d : {"sde", "sdf", "sdg"})
        EXPECT_FALSE(platform::linuxdev::isFloppyDrive(m.root(), d)) << d;

    // Two go on a: and b: in device order, the others on the next free letters.
    LinuxDriveTable table(m.root());
    EXPECT_EQ(letters(table), "a:(-) b:(-) c: d:(-) e:(-) ");
}

TEST(LinuxDrives, CardReaderCdNetworkAndRamDisk) {
    Machine m;
    m.mounts(systemMounts +
             "/dev/sdc1 /media/u/CF vfat rw 0 0\n"
             "/dev/sr0 /media/u/MY\\040DISC iso9660 ro 0 0\n"
             "srv:/export /mnt/nfs nfs4 rw 0 0\n"
             "//srv/share /mnt/win cifs rw 0 0\n"
             "tmpfs /media/ram tmpfs rw 0 0\n");
    m.disk("sdc", {.removable = "1", .size = "250000", .usb = true, .dev = "8:32"});
    m.partition("sdc", "sdc1");
    m.disk("sr0", {.removable = "1", .size = "1000000", .dev = "11:0"});
    m.label("CF", "sdc1");
    m.uuid("1A2B-3C4D", "sdc1");
    m.label("MY\\x20DISC", "sr0");
    for (const char* f : {"/media/u/CF", "/media/u/MY DISC", "/mnt/nfs", "/mnt/win", "/media/ram"})
        m.folder(f);
    LinuxDriveTable table(m.root());

    // Block devices in device order, then shares, then RAM disks.
    EXPECT_EQ(letters(table), "c: d: e: [MY DISC] f: [\\\\srv\\share] g: [srv:/export] h: ");
    Drive cf = driveOf(table, 'D');
    EXPECT_EQ(cf.type, platform::DriveType::removable);
    EXPECT_EQ(cf.volumeName, "CF");
    EXPECT_EQ(cf.serial, "1A2B-3C4D");
    EXPECT_EQ(rootOf(cf), m.root() / "media/u/CF");
    EXPECT_EQ(driveOf(table, 'E').type, platform::DriveType::cdRom);
    EXPECT_EQ(rootOf(driveOf(table, 'E')), m.root() / "media/u/MY DISC");
    EXPECT_EQ(driveOf(table, 'F').volumeName, "\\\\srv\\share");
    EXPECT_EQ(driveOf(table, 'G').type, platform::DriveType::network);
    EXPECT_EQ(rootOf(driveOf(table, 'G')), m.root() / "mnt/nfs");
    EXPECT_EQ(driveOf(table, 'H').type, platform::DriveType::ramDisk);
}

TEST(LinuxDrives, LettersStayWithTheirDevicesAcrossMediaChanges) {
    Machine m;
    m.disk("sdb", {.removable = "1",
                   .size = "2880",
                   .model = "USB-FDU",
                   .usb = true,
                   .usbSubclass = "04",
                   .dev = "8:16"});
    m.disk("sdc", {.removable = "1", .size = "250000", .usb = true, .dev = "8:32"});
    m.partition("sdc", "sdc1");
    m.disk("sdd", {.removable = "1", .size = "250000", .usb = true, .dev = "8:48"});
    m.partition("sdd", "sdd1");
    for (const char* f : {"/media/u/DISK1", "/media/u/DISK2", "/media/u/CF", "/media/u/STICK"})
        m.folder(f);
    m.mounts(systemMounts +
             "/dev/sdb /media/u/DISK1 vfat rw 0 0\n"
             "/dev/sdc1 /media/u/CF vfat rw 0 0\n");
    LinuxDriveTable table(m.root());
    EXPECT_EQ(letters(table), "a: c: d: ");

    // Diskette 1 out, the card pulled, diskette 2 in: mounted elsewhere, same letter.
    m.mounts(systemMounts + "/dev/sdb /media/u/DISK2 vfat rw 0 0\n");
    EXPECT_EQ(rootOf(driveOf(table, 'A')), m.root() / "media/u/DISK2");
    Drive gone = driveOf(table, 'D');
    EXPECT_FALSE(gone.ready);
    EXPECT_TRUE(rootOf(gone).empty());
    EXPECT_EQ(gone.type, platform::DriveType::removable);

    // A stick plugged in now takes a letter nobody has had; the card comes back to its own.
    m.mounts(systemMounts +
             "/dev/sdb /media/u/DISK2 vfat rw 0 0\n"
             "/dev/sdd1 /media/u/STICK vfat rw 0 0\n");
    EXPECT_EQ(letters(table), "a: c: d:(-) e: ");
    m.mounts(systemMounts +
             "/dev/sdd1 /media/u/STICK vfat rw 0 0\n"
             "/dev/sdc1 /media/u/CF vfat rw 0 0\n");
    EXPECT_EQ(letters(table), "a:(-) c: d: e: ");
    EXPECT_EQ(rootOf(driveOf(table, 'D')), m.root() / "media/u/CF");
}

TEST(LinuxDrives, DuplicateMountsFileMountsAndSystemImagesAreLeftOut) {
    Machine m;
    m.disk("sda", {.size = "500000000"});
    m.partition("sda", "sda2");
    m.partition("sda", "sda3");
    m.disk("loop0", {.size = "1000"});
    m.disk("loop1", {.size = "2000"});
    m.disk("dm-0", {.size = "100000"});
    m.disk("sdc", {.removable = "0", .size = "250000", .usb = true, .dev = "8:32"});
    m.partition("sdc", "sdc1");
    m.folder("/home");
    m.folder("/srv/home-again");
    m.folder("/snap/core/1");
    m.folder("/media/u/image");
    m.folder("/media/u/secret");
    m.folder("/data");
    writeFile(m.root() / "etc/hosts", "");
    m.slave("dm-0", "sdc1");
    m.mounts(systemMounts +
             "/dev/sda3 /home ext4 rw 0 0\n"
             "/dev/sda3 /srv/home-again ext4 rw 0 0\n"
             "/dev/sda3 /etc/hosts ext4 rw 0 0\n"
             "/dev/loop0 /snap/core/1 squashfs ro 0 0\n"
             "/dev/loop1 /media/u/image iso9660 ro 0 0\n"
             "/dev/mapper/secret /media/u/secret ext4 rw 0 0\n"
             "/dev/nonesuch /data ext4 rw 0 0\n");
    m.link("dev/mapper/secret", "../dm-0");
    LinuxDriveTable table(m.root());

    // c:, sda3 once, the image mounted for the user as a CD, the mapped USB partition
    // removable, and a device unknown to the block tree as fixed.
    EXPECT_EQ(letters(table), "c: d: e: f: g: ");
    EXPECT_EQ(rootOf(driveOf(table, 'D')), m.root() / "media/u/secret");
    EXPECT_EQ(driveOf(table, 'D').type, platform::DriveType::removable);
    EXPECT_EQ(rootOf(driveOf(table, 'E')), m.root() / "media/u/image");
    EXPECT_EQ(driveOf(table, 'E').type, platform::DriveType::cdRom);
    EXPECT_EQ(rootOf(driveOf(table, 'F')), m.root() / "data");
    EXPECT_EQ(driveOf(table, 'F').type, platform::DriveType::fixed);
    EXPECT_EQ(rootOf(driveOf(table, 'G')), m.root() / "home");
}

}  // namespace
