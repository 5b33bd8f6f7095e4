// The session log of the Qt window: the file under $XDG_STATE_HOME holds the log box's lines,
// the "Log folder" entry hands that folder to the desktop, and a folder that cannot be made is
// told once while the conversion goes on.
#include <QAction>
#include <QDesktopServices>
#include <QPlainTextEdit>
#include <QUrl>
#include <algorithm>
#include <cstdlib>

#include "platform/guide.h"
#include "platform/session_log.h"
#include "qt_fixture.h"
#include "state/state.h"
#include "support/set_builder.h"
#include "ui/session_log.h"

namespace qttest {

// Takes the URLs the desktop would have been asked to open.
class UrlCatcher : public QObject {
    Q_OBJECT
  public:
    std::vector<QUrl> urls;
  public slots:
    void open(const QUrl& url) { urls.push_back(url); }
};

namespace {

class QtSessionLog : public QtWindowTest {
  protected:
    void SetUp() override {
        QtWindowTest::SetUp();
        if (const char* state = std::getenv("XDG_STATE_HOME"))
            saved_ = state;
    }
    void TearDown() override {
        ui::stopSessionLog();
        QDesktopServices::unsetUrlHandler("file");
        if (saved_)
            setenv("XDG_STATE_HOME", saved_->c_str(), 1);
        else
            unsetenv("XDG_STATE_HOME");
        QtWindowTest::TearDown();
    }
    void useStateHome(const std::filesystem::path& folder) {
        setenv("XDG_STATE_HOME", folder.c_str(), 1);
    }
    // Two diskettes onto the card, clicked; with `pictures`, each step is saved as the
    // technician's guide shows it.
    void convert(bool pictures = false) {
        auto shot = [&](const char* name) {
            if (pictures)
                screenshot(window->widget(), name);
        };
        testsupport::SetPlan plan;
        plan.disks = 2;
        plan.files = {testsupport::wholeFile("keycode.rec", "KEY-42"),
                      testsupport::spreadFile("db/data.dat", testsupport::noise(900, 5),
                                              {{1, 400}, {2, 500}})};
        const auto set = testsupport::buildSet(scratch.path() / "set", plan);
        drives.insert('A', medium(set.disk(1)));
        start();
        pick("a:");
        shot("step-0-floppy-drive");
        click("buttonOK");
        shot("step-1-first-diskette");
        click("buttonOK");
        shot("step-2-next-diskette");
        drives.insert('A', medium(set.disk(2)));
        click("buttonOK");
        pick("e:");
        shot("step-3-card");
        click("buttonOK");
        ASSERT_EQ(app::wizardStep, 4);
        click("buttonLog");
        shot("step-4-done");
        EXPECT_EQ(testsupport::readFile(scratch.path() / "e/backup/single/db/data.dat"),
                  testsupport::noise(900, 5));
        EXPECT_TRUE(window->messageBoxes().empty());
    }
    // The lines of the log box as it shows them.
    std::vector<std::string> logBoxLines() {
        const std::string text = child<QPlainTextEdit>("logText")->toPlainText().toStdString();
        std::vector<std::string> lines;
        for (std::string_view line : platform::panelLines(text))
            lines.emplace_back(line);
        return lines;
    }

  private:
    std::optional<std::string> saved_;
};

TEST_F(QtSessionLog, TheFileHoldsTheLogBoxsLinesAndTheMenuOpensItsFolder) {
    useStateHome(scratch.path() / "state");
    ui::startSessionLog(platform::sessionLogFolder());
    ASSERT_NE(ui::sessionLog(), nullptr);
    const auto file = ui::sessionLog()->file();
    const auto folder = scratch.path() / "state" / "velt-converter" / "logs";
    EXPECT_EQ(file.parent_path(), folder);
    convert(true);

    const std::string content = testsupport::readFile(file);
    EXPECT_EQ(content.find('\r'), std::string::npos);
    std::vector<std::string> fileLines;
    for (std::string_view line : platform::panelLines(content)) {
        ASSERT_GE(line.size(), 20u) << line;
        fileLines.emplace_back(line.substr(20));
    }
    EXPECT_EQ(fileLines, logBoxLines());
    EXPECT_GT(fileLines.size(), 10u);
    EXPECT_EQ(content.back(), '\n');

    UrlCatcher catcher;
    QDesktopServices::setUrlHandler("file", &catcher, "open");
    window->widget()->findChild<QAction*>("LogFolder")->trigger();
    ASSERT_EQ(catcher.urls.size(), 1u);
    EXPECT_EQ(catcher.urls[0], QUrl::fromLocalFile(QString::fromStdString(folder.string())));
}

TEST_F(QtSessionLog, AFolderThatCannotBeMadeIsToldOnceAndTheConversionGoesOn) {
    testsupport::writeFile(scratch.path() / "state", "a file where the folder would be");
    useStateHome(scratch.path() / "state");
    ui::startSessionLog(platform::sessionLogFolder());
    convert();
    const auto lines = logBoxLines();
    const std::string told = ui::sessionLogFailureText("");
    EXPECT_EQ(std::count_if(lines.begin(), lines.end(),
                            [&](const std::string& line) { return line.starts_with(told); }),
              1);
    EXPECT_EQ(ui::sessionLog(), nullptr);

    // The menu entry cannot make the folder either: that is said, and nothing is opened.
    UrlCatcher catcher;
    QDesktopServices::setUrlHandler("file", &catcher, "open");
    window->widget()->findChild<QAction*>("LogFolder")->trigger();
    EXPECT_TRUE(catcher.urls.empty());
    EXPECT_TRUE(logBoxLines().back().starts_with("The log folder cannot be opened: "));
}

TEST_F(QtSessionLog, TheGuideEntryOpensTheInstalledGuideOrSaysItCannot) {
    start();
    UrlCatcher catcher;
    QDesktopServices::setUrlHandler("file", &catcher, "open");
    const std::filesystem::path guide = platform::guideFile();
    ASSERT_FALSE(guide.empty());
    std::filesystem::remove(guide);
    QAction* entry = window->widget()->findChild<QAction*>("Guide");
    ASSERT_NE(entry, nullptr);
    entry->trigger();
    EXPECT_TRUE(catcher.urls.empty());
    EXPECT_EQ(logBoxLines().back(), "The guide cannot be opened: " + guide.string());

    // Where the package puts it, relative to the program: PREFIX/share/doc/velt-converter.
    testsupport::writeFile(guide, "# guide\n");
    entry->trigger();
    std::filesystem::remove_all(guide.parent_path().parent_path().parent_path());
    ASSERT_EQ(catcher.urls.size(), 1u);
    EXPECT_EQ(catcher.urls[0], QUrl::fromLocalFile(QString::fromStdString(guide.string())));
}

}  // namespace
}  // namespace qttest

#include "qt_session_log_test.moc"
