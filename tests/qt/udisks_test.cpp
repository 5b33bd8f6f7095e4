// The drive table on the desktop's disk service, against a stand-in for the service on a bus
// of the test's own (tests/qt/udisks2_mock.py): drives and media that come and go, media
// mounted for the program and released, mounts that fail, the bus or service absent, and a
// whole conversion through the window on these drives.
#include <QComboBox>
#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QLabel>
#include <QProcess>
#include <QSignalSpy>
#include <QTest>
#include <atomic>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "frontends/qt/udisks_drives.h"
#include "platform/context.h"
#include "platform/error.h"
#include "qt_fixture.h"
#include "state/state.h"
#include "support/set_builder.h"

namespace qttest {
namespace {

namespace fsys = std::filesystem;
using testsupport::readFile;
using testsupport::writeFile;

const QString mockIface = "org.freedesktop.DBus.Mock";
const QString notAuthorized = "org.freedesktop.UDisks2.Error.NotAuthorizedCanObtain";
const QString busy = "org.freedesktop.UDisks2.Error.DeviceBusy";

// A bus of the test's own with the stand-in service on it; both end with the object.
class MockService {
  public:
    explicit MockService(bool withService = true) {
        static std::atomic<int> serial{0};
        name_ = QString("velt-udisks-test-%1").arg(++serial);
        daemon_.start("dbus-daemon", {"--session", "--nofork", "--print-address"});
        if (!daemon_.waitForStarted() || !daemon_.waitForReadyRead(10000))
            return;
        address_ = QString::fromUtf8(daemon_.readLine()).trimmed();
        if (!withService)
            return;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert("DBUS_SYSTEM_BUS_ADDRESS", address_);
        mock_.setProcessEnvironment(env);
        mock_.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        mock_.start(VELT_PYTHON, {"-m", "dbusmock", "--template", VELT_UDISKS_MOCK});
        QDBusConnection connection = bus();
        (void)QTest::qWaitFor(
            [&] { return connection.interface()->isServiceRegistered("org.freedesktop.UDisks2"); },
            10000);
    }
    ~MockService() {
        QDBusConnection::disconnectFromBus(name_);
        for (QProcess* p : {&mock_, &daemon_}) {
            p->terminate();
            if (!p->waitForFinished(5000))
                p->kill();
        }
    }

    bool running() const {
        return bus().isConnected() &&
               bus().interface()->isServiceRegistered("org.freedesktop.UDisks2");
    }
    QDBusConnection bus() const { return QDBusConnection::connectToBus(address_, name_); }

    // A method of the mock interface ("AddDrive", "InsertMedium", ...).
    void call(const QString& method, const QVariantList& args) {
        QDBusMessage m = QDBusMessage::createMethodCall(
            "org.freedesktop.UDisks2", "/org/freedesktop/UDisks2", mockIface, method);
        m.setArguments(args);
        const QDBusMessage reply = bus().call(m);
        EXPECT_EQ(reply.type(), QDBusMessage::ReplyMessage)
            << method.toStdString() << ": " << reply.errorMessage().toStdString();
    }
    // How often the program called `method` on `object` ("" for the service's root object).
    int calls(const QString& object, const QString& method) {
        QDBusMessage m = QDBusMessage::createMethodCall("org.freedesktop.UDisks2",
                                                        "/org/freedesktop/UDisks2" + object,
                                                        mockIface, "GetMethodCalls");
        m << method;
        const QDBusMessage reply = bus().call(m);
        if (reply.type() != QDBusMessage::ReplyMessage)
            return -1;
        return static_cast<int>(qdbus_cast<QVariantList>(reply.arguments().value(0)).size());
    }

  private:
    QProcess daemon_, mock_;
    QString address_, name_;
};

// The drive table on the stand-in service, with a machine whose "/" is a scratch folder.
class UDisksTest : public QtWindowTest {
  protected:
    void SetUp() override {
        QtWindowTest::SetUp();
        service = std::make_unique<MockService>();
        ASSERT_TRUE(service->running()) << "dbus-daemon and python3-dbusmock are needed";
        machine = scratch.make("machine");
        writeFile(machine / "proc/self/mounts", "/dev/vda1 / ext4 rw 0 0\n");
        scratch.make("machine/sys/block");
        scratch.make("machine/Temp");
    }
    void TearDown() override {
        platform::resetContext();
        table.reset();
        service.reset();
        QtWindowTest::TearDown();
    }

    void openTable() {
        table = qtui::UDisksDriveTable::open(service->bus(), machine);
        ASSERT_NE(table, nullptr);
        changes = std::make_unique<QSignalSpy>(table.get(), &qtui::UDisksDriveTable::drivesChanged);
        // A round trip to the bus: the table's signal subscriptions, sent before it on the same
        // connection, are in place after it.
        const QDBusMessage id = service->bus().call(QDBusMessage::createMethodCall(
            "org.freedesktop.DBus", "/org/freedesktop/DBus", "org.freedesktop.DBus", "GetId"));
        ASSERT_EQ(id.type(), QDBusMessage::ReplyMessage);
    }
    // Changes the service, and waits for the table to say that the drives changed.
    void change(const QString& method, const QVariantList& args) {
        const qsizetype before = changes->count();
        service->call(method, args);
        EXPECT_TRUE(QTest::qWaitFor([&] { return changes->count() > before; }, 5000))
            << method.toStdString();
    }
    // "a:-" for a drive that is not ready, "a:+LABEL" for one that is.
    std::vector<std::string> listing() {
        std::vector<std::string> out;
        for (const platform::Drive& d : table->list())
            out.push_back(d.entry.substr(0, 2) + (d.ready ? "+" + d.volumeName : "-"));
        return out;
    }

    std::unique_ptr<MockService> service;
    fsys::path machine;
    std::unique_ptr<qtui::UDisksDriveTable> table;
    std::unique_ptr<QSignalSpy> changes;
};

TEST_F(UDisksTest, DrivesAndMediaComeAndGoAndKeepTheirLetters) {
    const fsys::path disk1 = scratch.make("disk1"), card = scratch.make("card");
    openTable();
    change("AddDrive", {"sda", "floppy", true, "/nonexistent/sda"});

    struct Step {
        const char* what;
        QString method;
        QVariantList args;
        std::vector<std::string> listed;
    };
    const std::vector<Step> walk = {
        {"a floppy drive without a diskette", {}, {}, {"a:-", "c:+"}},
        {"a diskette, not mounted",
         "InsertMedium",
         {"sda", QString::fromStdString(disk1.string()), "DISK1", false},
         {"a:+DISK1", "c:+"}},
        {"a card reader is plugged in (nothing to list), then its card",
         "AddDrive",
         {"sdb", "reader", true, ""},
         {"a:+DISK1", "c:+"}},
        {"",
         "InsertMedium",
         {"sdb", QString::fromStdString(card.string()), "CF", true},
         {"a:+DISK1", "c:+", "d:+CF"}},
        {"the diskette is taken out", "EjectMedium", {"sda"}, {"a:-", "c:+", "d:+CF"}},
        {"the reader is unplugged: its letter stays, not ready",
         "RemoveDrive",
         {"sdb"},
         {"a:-", "c:+", "d:-"}},
        {"plugged in again, with its card",
         "AddDrive",
         {"sdb", "reader", true, ""},
         {"a:-", "c:+", "d:-"}},
        {"",
         "InsertMedium",
         {"sdb", QString::fromStdString(card.string()), "CF", false},
         {"a:-", "c:+", "d:+CF"}},
    };
    std::vector<std::string> previous = listing();
    for (const Step& step : walk) {
        // The table tells of a change when there is one to see.
        if (step.method.isEmpty())
            ;
        else if (step.listed != previous)
            change(step.method, step.args);
        else
            service->call(step.method, step.args);
        EXPECT_EQ(listing(), step.listed) << step.what;
        previous = step.listed;
    }
    const platform::Drive cardDrive = *table->find('D');
    EXPECT_EQ(cardDrive.type, platform::DriveType::removable);
    EXPECT_EQ(cardDrive.entry, "d:");

    // The desktop mounts the card itself (only its properties change): the table hears of it,
    // and the program uses that mount as it is.
    const qsizetype before = changes->count();
    QDBusMessage mount = QDBusMessage::createMethodCall(
        "org.freedesktop.UDisks2", "/org/freedesktop/UDisks2/block_devices/sdb1",
        "org.freedesktop.UDisks2.Filesystem", "Mount");
    mount << QVariantMap();
    ASSERT_EQ(service->bus().call(mount).type(), QDBusMessage::ReplyMessage);
    EXPECT_TRUE(QTest::qWaitFor([&] { return changes->count() > before; }, 5000));
    ASSERT_NE(table->find('D')->medium, nullptr);
    EXPECT_EQ(table->find('D')->medium->hostPath(""), card.string());
    EXPECT_EQ(table->mountForUse('D'), "");

    // Nothing changes, nothing is asked: the table waits for the service's signals.
    const int asked = service->calls("", "GetManagedObjects");
    QTest::qWait(400);
    table->list();
    EXPECT_EQ(service->calls("", "GetManagedObjects"), asked);
}

TEST_F(UDisksTest, MediaAreMountedForUseAndReleased) {
    const fsys::path disk1 = scratch.make("disk1"), card = scratch.make("card");
    writeFile(disk1 / "archive.dat", "set");
    openTable();
    change("AddDrive", {"sda", "floppy", true, "/nonexistent/sda"});
    change("InsertMedium", {"sda", QString::fromStdString(disk1.string()), "DISK1", false});
    service->call("AddDrive", {"sdb", "reader", true, ""});
    change("InsertMedium", {"sdb", QString::fromStdString(card.string()), "CF", false});

    // A diskette is mounted for reading, then released so that the next one is read fresh.
    EXPECT_EQ(table->find('A')->medium, nullptr);
    EXPECT_EQ(table->mountForUse('a'), "Mounted A: on " + disk1.string());
    EXPECT_EQ(table->mountForUse('A'), "");
    ASSERT_NE(table->find('A')->medium, nullptr);
    EXPECT_EQ(table->find('A')->medium->hostPath(""), disk1.string());
    EXPECT_EQ(table->releaseDiskette('A'), "Unmounted A:");
    EXPECT_EQ(table->releaseDiskette('A'), "");
    EXPECT_EQ(table->find('A')->medium, nullptr);
    EXPECT_TRUE(table->find('A')->ready);

    // Mounts and unmounts that the service refuses.
    struct Failure {
        const char* drive;
        const char* operation;
        QString error, message;
        std::string expected;
    };
    const std::vector<Failure> failures = {
        {"sda", "mount", notAuthorized, "Not authorized to perform operation",
         "Could not mount A: Not authorized to perform operation"},
        {"sda", "mount", busy, "Device is busy", "Could not mount A: Device is busy"},
        {"sda", "unmount", busy, "Device is busy", "A: stays mounted: Device is busy"},
        {"sdb1", "unmount", busy, "Device is busy",
         "D: stays mounted: Device is busy. Its database is written and verified; close what "
         "uses the card before removing it."},
    };
    for (const Failure& f : failures) {
        const std::string drive = std::string(f.drive).substr(0, 3);
        const char letter = drive == "sda" ? 'A' : 'D';
        service->call("SetFailure",
                      {QString::fromStdString(drive), f.operation, f.error, f.message});
        if (std::string(f.operation) == "mount") {
            try {
                table->mountForUse(letter);
                ADD_FAILURE() << f.expected;
            } catch (const platform::Error& e) {
                EXPECT_EQ(e.description(), f.expected);
            }
            EXPECT_EQ(table->find(letter)->medium, nullptr);
        } else {
            service->call("SetFailure", {QString::fromStdString(drive), "mount", "", ""});
            EXPECT_NE(table->mountForUse(letter), "");
            EXPECT_EQ(letter == 'A' ? table->releaseDiskette(letter) : table->releaseCard(letter),
                      f.expected);
            EXPECT_NE(table->find(letter)->medium, nullptr) << "left mounted";
        }
        service->call("SetFailure", {QString::fromStdString(drive), f.operation, "", ""});
    }

    // A card is released once written, whoever mounted it; a second copy mounts it again.
    EXPECT_EQ(table->releaseCard('D'), "D: can now be removed.");
    EXPECT_EQ(table->find('D')->medium, nullptr);
    EXPECT_EQ(table->mountForUse('D'), "Mounted D: on " + card.string());
    EXPECT_EQ(table->releaseCard('D'), "D: can now be removed.");
    // c: and network shares are never unmounted.
    EXPECT_EQ(table->mountForUse('C'), "");
    EXPECT_EQ(table->releaseCard('C'), "");
}

TEST_F(UDisksTest, ADisketteTheUserMayReadIsReadDirectlyWithoutMounting) {
    std::string mkfs;
    for (const char* dir : {"/usr/sbin/", "/sbin/", "/usr/bin/"}) {
        if (fsys::exists(std::string(dir) + "mkfs.fat"))
            mkfs = std::string(dir) + "mkfs.fat";
    }
    if (mkfs.empty())
        GTEST_SKIP() << "mkfs.fat is needed to make the diskette";
    const fsys::path device = scratch.path() / "fd.img";
    ASSERT_EQ(std::system((mkfs + " -C -n DIRECT " + device.string() + " 1440 >/dev/null").c_str()),
              0);
    openTable();
    change("AddDrive", {"sda", "floppy", true, QString::fromStdString(device.string())});
    change("InsertMedium",
           {"sda", QString::fromStdString(scratch.make("unused").string()), "DIRECT", false});
    const platform::Drive a = *table->find('A');
    EXPECT_TRUE(a.ready);
    EXPECT_NE(a.medium, nullptr);
    EXPECT_EQ(a.volumeName, "DIRECT");
    EXPECT_EQ(table->mountForUse('A'), "");
    EXPECT_EQ(table->releaseDiskette('A'), "");
    EXPECT_EQ(service->calls("/block_devices/sda", "Mount"), 0);
}

// The program then reads the block-device tree itself.
TEST_F(UDisksTest, NoTableWithoutTheBusOrTheService) {
    const QString noBus = "unix:path=" + QString::fromStdString((scratch.path() / "none").string());
    EXPECT_EQ(qtui::UDisksDriveTable::open(QDBusConnection::connectToBus(noBus, "velt-no-bus")),
              nullptr);
    QDBusConnection::disconnectFromBus("velt-no-bus");
    const MockService bare(false);
    ASSERT_TRUE(bare.bus().isConnected());
    EXPECT_EQ(qtui::UDisksDriveTable::open(bare.bus()), nullptr);
}

// A two-diskette conversion clicked through the window on the service's drives: each diskette
// is mounted for its read and released after, the card is mounted, written and released, and
// the list follows a card reader plugged in while the window is open.
TEST_F(UDisksTest, AConversionMountsReadsAndReleasesThroughTheWindow) {
    testsupport::SetPlan plan;
    plan.disks = 2;
    plan.files = {
        testsupport::wholeFile("keycode.rec", "KEY-42"),
        testsupport::spreadFile("db/data.dat", std::string(3000, 'x'), {{1, 1800}, {2, 1200}})};
    const auto set = testsupport::buildSet(scratch.path() / "set", plan);
    const fsys::path card = scratch.make("card");
    auto path = [](const fsys::path& p) { return QString::fromStdString(p.string()); };

    openTable();
    change("AddDrive", {"sda", "floppy", true, "/nonexistent/sda"});
    change("InsertMedium", {"sda", path(set.disk(1)), "DISK1", false});
    platform::installDrives(table.get());
    platform::setTempFolder("C:\\Temp");
    window->watchDrives(table.get());
    window->driveList().refreshDrives();  // made before these drives were installed
    start();
    auto* combo = child<QComboBox>("DriveList");
    EXPECT_EQ(combo->count(), 2);

    pick("a:");
    click("buttonOK");
    click("buttonOK");
    EXPECT_EQ(app::wizardStep, app::Step::nextDiskette);
    const std::string log1 = window->logText().text();
    EXPECT_NE(log1.find("Mounted A: on " + set.disk(1).string()), std::string::npos) << log1;
    EXPECT_NE(log1.find("Unmounted A:"), std::string::npos);

    change("EjectMedium", {"sda"});
    change("InsertMedium", {"sda", path(set.disk(2)), "DISK2", false});
    click("buttonOK");
    EXPECT_EQ(app::wizardStep, app::Step::cardDrive);
    EXPECT_TRUE(window->messageBoxes().empty());

    // The card reader comes while the window waits for the card: the list shows it by itself,
    // and the chosen drive stays chosen.
    pick("a:");
    service->call("AddDrive", {"sdb", "reader", true, ""});
    change("InsertMedium", {"sdb", path(card), "CF", false});
    EXPECT_TRUE(QTest::qWaitFor([&] { return combo->count() == 3; }, 5000));
    EXPECT_EQ(combo->itemText(2), "d:");
    EXPECT_EQ(combo->currentText(), "a:");
    screenshot(window->widget(), "udisks-card-arrived");

    pick("d:");
    EXPECT_EQ(child<QLabel>("DriveSize")->text().toStdString().substr(0, 23),
              "Removable Drive D: - CF");
    click("buttonOK");
    EXPECT_EQ(app::wizardStep, app::Step::done);
    EXPECT_EQ(readFile(card / "backup/single/keycode.rec"), "KEY-42");
    const std::string log2 = window->logText().text();
    const size_t mounted = log2.find("Mounted D: on " + card.string());
    const size_t removable = log2.find("D: can now be removed.");
    EXPECT_NE(mounted, std::string::npos);
    EXPECT_NE(removable, std::string::npos);
    EXPECT_LT(mounted, removable);
    EXPECT_EQ(table->find('D')->medium, nullptr) << "unmounted";

    // Another copy onto the same card mounts it again.
    click("buttonOK");
    pick("d:");
    window->queueAnswer(ui::Answer::yes);
    click("buttonOK");
    EXPECT_EQ(app::wizardStep, app::Step::done);
    EXPECT_EQ(service->calls("/block_devices/sdb1", "Mount"), 2);
    EXPECT_EQ(service->calls("/block_devices/sdb1", "Unmount"), 2);
}

}  // namespace
}  // namespace qttest
