// The Qt window's "Log folder" and "Guide" entries, handed to the desktop. The session log file
// itself is checked in the shared window suite.
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

// The "Log folder" entry hands the session's log folder to the desktop; a folder that cannot be
// made is said, and nothing is opened.
TEST_F(QtSessionLog, TheLogFolderEntryOpensTheFolderOrSaysItCannot) {
    useStateHome(scratch.path() / "state");
    ui::startSessionLog(platform::sessionLogFolder());
    start();
    UrlCatcher catcher;
    QDesktopServices::setUrlHandler("file", &catcher, "open");
    QAction* entry = window->widget()->findChild<QAction*>("LogFolder");
    entry->trigger();
    ASSERT_EQ(catcher.urls.size(), 1u);
    const auto folder = scratch.path() / "state" / "velt-converter" / "logs";
    EXPECT_EQ(catcher.urls[0], QUrl::fromLocalFile(QString::fromStdString(folder.string())));

    ui::stopSessionLog();
    std::filesystem::remove_all(scratch.path() / "state");
    testsupport::writeFile(scratch.path() / "state", "a file where the folder would be");
    entry->trigger();
    EXPECT_EQ(catcher.urls.size(), 1u);
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
