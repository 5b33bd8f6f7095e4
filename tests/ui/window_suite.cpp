// The desktop window after start-up, its Log button, its close box, the drive list's events, the
// kept-images entry and the About box, driven as a user drives them, on every toolkit.
#include "window_suite.h"

#include <gtest/gtest.h>

#include "platform/session_log.h"
#include "state/state.h"
#include "support/set_builder.h"
#include "support/test_support.h"
#include "support/window_drives.h"
#include "ui/session_log.h"
#include "wizard/wizard.h"

namespace uitest {
namespace {

using ui::form::Kind;

class WindowSuite : public ::testing::Test {
  protected:
    void SetUp() override { kit = makeToolkit(); }
    void TearDown() override { kit.reset(); }
    ui::WindowBase& window() { return kit->window(); }
    // Two diskettes onto the card, clicked; each step is saved as the technician's guide
    // shows it.
    void convert();
    // The lines of the log box as it shows them.
    std::vector<std::string> logBoxLines() const {
        std::vector<std::string> lines;
        const std::string text = kit->text("logText");
        for (std::string_view line : platform::panelLines(text))
            lines.emplace_back(line);
        return lines;
    }

    std::unique_ptr<Toolkit> kit;
};

TEST_F(WindowSuite, StartUpPutsEveryControlAtItsPlaceInItsFirstState) {
    kit->start();
    EXPECT_EQ(window().caption(), "VELT Database Media Converter");
    EXPECT_TRUE(kit->windowShown());
    EXPECT_EQ(window().height(), 6990);
    EXPECT_EQ(kit->client(), kit->px({0, 0, 8145, 6375}));
    EXPECT_FALSE(kit->resizable());

    for (const ui::form::Control& c : ui::form::mainControls()) {
        SCOPED_TRACE(std::string(c.name));
        if (c.kind == Kind::picture) {
            EXPECT_TRUE(kit->pictureDrawn(c));
            continue;
        }
        EXPECT_EQ(kit->place(c.name), kit->px(c.place));
        // The load hides the progress bar until there is progress to show.
        EXPECT_EQ(kit->shown(c.name), c.visible && c.name != "ProgressBar1");
    }
    for (const ui::form::LineEnds& ends : ui::form::frameLines())
        EXPECT_TRUE(kit->frameLineDrawn(ends)) << ends.x1 << "," << ends.y1;

    EXPECT_TRUE(kit->enabled("buttonOK"));
    EXPECT_FALSE(kit->enabled("buttonBack"));
    EXPECT_EQ(window().buttonLog().picture(), ui::Picture::showLog);
    EXPECT_EQ(kit->menu(), (std::vector<std::string>{"Diskette image...", "Keep diskette images...",
                                                     "Check Compact Flash card...", "Help"}));
    // As the program starts: every entry can be chosen, "Diskette image..." too.
    for (const ui::form::MenuEntry& entry : ui::form::menu())
        EXPECT_TRUE(kit->menuEnabled(entry.id)) << entry.text;

    // The status box, the log and the drive list as start-up leaves them.
    EXPECT_EQ(window().mainText().text(),
              "Please select the floppy disk drive \r\nand press the OK button\r\n");
    EXPECT_EQ(kit->text("mainText"),
              "Please select the floppy disk drive \nand press the OK button\n");
    EXPECT_EQ(kit->statusFontPoints(), 11);
    EXPECT_TRUE(kit->readOnly("mainText"));
    EXPECT_TRUE(kit->readOnly("logText"));
    const std::string banner =
        "\n" + std::string(31, '=') + "\nVELT Database Media Converter Version 1.0.0\n";
    EXPECT_EQ(kit->text("logText").substr(0, banner.size()), banner);
    EXPECT_EQ(window().logText().backColor(), (ui::Color{213, 200, 187}));
    EXPECT_EQ(kit->listEntries(), (std::vector<std::string>{"a:", "c: [SYSTEM]", "e:"}));
    EXPECT_EQ(kit->listCurrent(), 1);
    EXPECT_EQ(window().driveList().listIndex(), 1);
    EXPECT_EQ(kit->text("DriveSize"), "Fixed Drive C: [SYSTEM] - SYSTEM");
    EXPECT_EQ(window().focus(), "DriveList");
    EXPECT_EQ(app::wizardStep, app::Step::floppyDrive);
    kit->screenshot("startup");
}

TEST_F(WindowSuite, TheLogButtonGrowsTheWindowToShowTheLogAndShrinksItBack) {
    kit->start();
    const int shortHeight = kit->outerHeight();
    kit->click("buttonLog");
    EXPECT_EQ(kit->client(), kit->px({0, 0, 8145, 9320}));
    EXPECT_EQ(kit->outerHeight() - shortHeight,
              kit->px({0, 0, 0, 9320}).height - kit->px({0, 0, 0, 6375}).height);
    EXPECT_TRUE(kit->shown("logText"));
    for (const ui::form::LineEnds& ends :
         {ui::form::LineEnds{120, 9080, 8040, 9080}, ui::form::LineEnds{120, 120, 120, 9080},
          ui::form::LineEnds{8040, 120, 8040, 9080}})
        EXPECT_TRUE(kit->frameLineDrawn(ends)) << ends.x1 << "," << ends.y2;
    kit->screenshot("log-shown");

    // A new message is selected while the log is shown.
    kit->pick("a:");
    kit->click("buttonOK");
    EXPECT_EQ(kit->selectedLog(), "Please insert diskette #1 and press the OK button");

    kit->click("buttonLog");
    EXPECT_EQ(kit->outerHeight(), shortHeight);
    EXPECT_FALSE(kit->shown("logText"));
    for (const ui::form::LineEnds& ends : ui::form::frameLines())
        EXPECT_TRUE(kit->frameLineDrawn(ends)) << ends.x1 << "," << ends.y2;
}

TEST_F(WindowSuite, TheCloseBoxAsksBeforeEndingAndNeverAsksTwice) {
    kit->start();
    kit->answerNext(ui::Answer::no);
    EXPECT_FALSE(kit->closeBox());
    EXPECT_TRUE(kit->windowShown());
    ASSERT_EQ(window().messageBoxes().size(), 1u);
    EXPECT_EQ(window().messageBoxes()[0].title, "warning!");
    EXPECT_EQ(window().messageBoxes()[0].icon, ui::Icon::exclamation);
    EXPECT_EQ(window().messageBoxes()[0].answer, ui::Answer::no);

    kit->answerNext(ui::Answer::yes);
    EXPECT_TRUE(kit->closeBox());
    EXPECT_TRUE(wizard::ended());
    EXPECT_TRUE(window().quitCalled());
    EXPECT_FALSE(kit->windowShown());
    EXPECT_EQ(window().messageBoxes().size(), 2u);

    // The ended program raises no further close request, and its buttons do nothing.
    window().show();
    EXPECT_TRUE(kit->closeBox());
    kit->click("buttonOK");
    EXPECT_EQ(window().messageBoxes().size(), 2u);
    EXPECT_EQ(kit->unanswered(), 0);
}

TEST_F(WindowSuite, DriveListPicksAndKeysRunTheChangeHandling) {
    kit->start();
    kit->pick("e:");
    EXPECT_EQ(window().driveList().listIndex(), 2);
    EXPECT_EQ(kit->text("DriveSize"), "Removable Drive E: - CF");
    EXPECT_EQ(window().focus(), "buttonOK");

    // A key that moves nowhere still runs the handling, which moves the focus to OK.
    kit->press("DriveList", Toolkit::Key::shift);
    EXPECT_EQ(window().focus(), "buttonOK");
    // Tab only moves the focus on, to the next in the tab order.
    kit->press("DriveList", Toolkit::Key::tab);
    EXPECT_EQ(window().focus(), ui::form::tabOrder()[1]);
    // Arrow keys move through the list like picks.
    kit->press("DriveList", Toolkit::Key::up);
    EXPECT_EQ(window().driveList().listIndex(), 1);
    EXPECT_EQ(kit->listCurrent(), 1);
    EXPECT_EQ(kit->text("DriveSize"), "Fixed Drive C: [SYSTEM] - SYSTEM");

    // Opening the list shows the drives added since start-up, and keeps the current one.
    kit->drives().define('F', platform::DriveType::removable,
                         testsupport::medium(kit->scratch().make("f"), "CARD"));
    kit->openList();
    EXPECT_EQ(kit->listEntries().size(), 4u);
    EXPECT_EQ(kit->listEntries().back(), "f:");
    EXPECT_EQ(kit->listCurrent(), 1);
    kit->closeList();
    kit->pick("f:");
    EXPECT_EQ(kit->text("DriveSize"), "Removable Drive F: - CARD");
}

TEST_F(WindowSuite, ANotReadyCardDriveFallsBackToTheSavedIndex) {
    kit->start();
    app::wizardStep = app::Step::cardDrive;  // choosing the Compact Flash drive
    kit->pick("a:");
    ASSERT_EQ(window().messageBoxes().size(), 1u);
    EXPECT_EQ(window().messageBoxes()[0].text, "\r\nDrive A: is not ready.");
    EXPECT_EQ(window().driveList().listIndex(), wizard::savedListIndex);
    EXPECT_EQ(kit->listCurrent(), wizard::savedListIndex);
}

TEST_F(WindowSuite, TheAboutBoxOpensOnceNonModalWithItsTextsAndClosesWithOK) {
    kit->start();
    kit->choose(ui::form::Menu::about);
    ASSERT_TRUE(kit->aboutShown());
    EXPECT_FALSE(kit->aboutModal());
    EXPECT_EQ(kit->aboutCaption(), "About VELT Database Media Converter");
    EXPECT_EQ(kit->aboutClient(), kit->aboutPx(ui::form::aboutClient));
    for (const ui::form::Control& c : ui::form::aboutControls()) {
        SCOPED_TRACE(std::string(c.name));
        EXPECT_EQ(kit->aboutPlace(c.name), kit->aboutPx(c.place));
    }
    const std::string description =
        "This tool converts the Valdrome system database from floppy diskettes form into "
        "Compact Flash based form.\nTo be used when upgrading to a PENTIUM IV based Valdrome "
        "system.\n\nBy Halvex Networks.";
    EXPECT_EQ(kit->aboutText("lblTitle"), "VELT Database Media Converter");
    EXPECT_EQ(kit->aboutText("lblVersion"), "Version 1.0 ( Mar 24, 2005 )");
    EXPECT_EQ(kit->aboutText("lblDescription"), description);
    EXPECT_EQ(kit->aboutText("cmdOK"), "OK");
    // All four lines are seen: the font gives way where the label is too small for it.
    EXPECT_TRUE(kit->aboutFits("lblDescription"));
    kit->screenshot("about", true);

    // The main window goes on working while the box is open; its OK button and its close box
    // each unload it.
    kit->click("buttonLog");
    EXPECT_EQ(window().height(), 9935);
    auto& box = static_cast<ui::AboutBoxBase&>(window().aboutBox());
    kit->aboutOk();
    EXPECT_FALSE(box.loaded());
    kit->choose(ui::form::Menu::about);
    ASSERT_TRUE(kit->aboutShown());
    kit->aboutCloseBox();
    EXPECT_FALSE(box.loaded());
}

// "Keep diskette images..." beside "Diskette image...": a folder dialog, then a check mark on
// the entry while images are kept.
TEST_F(WindowSuite, KeepDisketteImagesTakesAFolderAndWearsACheckMark) {
    using ui::form::Menu;
    kit->start();
    const std::string entry(ui::form::menuEntry(Menu::keepImages).text);
    ASSERT_GE(kit->menu().size(), 2u);
    EXPECT_EQ(kit->menu()[0], ui::form::menuEntry(Menu::disketteImage).text);
    EXPECT_EQ(kit->menu()[1], entry);

    EXPECT_EQ(kit->keepImages({}), "Keep diskette images");
    EXPECT_EQ(wizard::keptImagesFolder(), "");
    EXPECT_EQ(kit->menu()[1], entry);

    const std::filesystem::path folder = kit->scratch().make("kept");
    EXPECT_EQ(kit->keepImages(folder), "Keep diskette images");
    // The folder as the system's dialog spells it: its name, below the scratch folder's.
    const std::filesystem::path kept(wizard::keptImagesFolder());
    EXPECT_EQ(kept.filename(), "kept");
    EXPECT_EQ(kept.parent_path().filename(), folder.parent_path().filename());
    EXPECT_EQ(kit->menu()[1], kit->checkMark() + entry);
    kit->screenshot("keep-images-on");
    wizard::keepImagesIn("");
}

// A whole two-diskette conversion clicked through, then a second card from it.
TEST_F(WindowSuite, TwoDiskettesOntoTheCardAndASecondCopy) {
    testsupport::SetPlan plan;
    plan.disks = 2;
    const std::string data = testsupport::noise(3000, 7);
    plan.files = {testsupport::wholeFile("keycode.rec", "KEY-42"),
                  testsupport::spreadFile("db/data.dat", data, {{1, 1800}, {2, 1200}}),
                  testsupport::wholeFile("db/conf/site.cfg", "site=42\n", 2)};
    const auto set = testsupport::buildSet(kit->scratch().path() / "set", plan);
    kit->drives().insert('A', testsupport::medium(set.disk(1)));

    kit->start();
    kit->pick("a:");
    kit->click("buttonOK");
    EXPECT_EQ(app::wizardStep, app::Step::firstDiskette);
    kit->click("buttonOK");
    ASSERT_EQ(app::wizardStep, app::Step::nextDiskette);
    EXPECT_EQ(kit->text("mainText"), "Please insert diskette #2 and press the OK button\n");
    EXPECT_TRUE(kit->shown("ProgressBar1"));
    const Toolkit::Progress read = kit->progress();
    EXPECT_EQ(read.maximum, 200);
    EXPECT_GT(read.position, 0);
    EXPECT_EQ(read.position, static_cast<int>(window().progressBar().value()));
    EXPECT_EQ(kit->text("Label2"),
              "\nArchive ID = " + plan.archiveId + "\nTotal diskettes num = 2");

    kit->drives().insert('A', testsupport::medium(set.disk(2)));
    kit->click("buttonOK");
    ASSERT_EQ(app::wizardStep, app::Step::cardDrive);
    EXPECT_EQ(kit->text("mainText"),
              "Please select the Compact Flash\ndrive and press the OK button\n");
    kit->pick("e:");
    EXPECT_EQ(kit->text("DriveSize"), "Removable Drive E: - CF\n Free Space: 62,500 Kbytes");
    kit->click("buttonOK");
    ASSERT_EQ(app::wizardStep, app::Step::done);
    EXPECT_EQ(kit->text("mainText"),
              "Successful database convert\nTotal 2 diskettes\nPress OK for another copy or "
              "Exit\n");
    EXPECT_TRUE(window().messageBoxes().empty());
    const auto card = kit->scratch().path() / "e/backup/single";
    EXPECT_EQ(testsupport::readFile(card / "keycode.rec"), "KEY-42");
    EXPECT_EQ(testsupport::readFile(card / "db/data.dat"), data);
    EXPECT_EQ(testsupport::readFile(card / "db/conf/site.cfg"), "site=42\n");
    kit->screenshot("success");

    // Another card from the same conversion: the old database there is replaced on Yes.
    std::filesystem::remove(card / "db/conf/site.cfg");
    kit->click("buttonOK");
    EXPECT_EQ(app::wizardStep, app::Step::cardDrive);
    kit->answerNext(ui::Answer::yes);
    kit->click("buttonOK");
    EXPECT_EQ(app::wizardStep, app::Step::done);
    ASSERT_EQ(window().messageBoxes().size(), 1u);
    EXPECT_EQ(window().messageBoxes()[0].title, "Replace");
    EXPECT_EQ(window().messageBoxes()[0].icon, ui::Icon::question);
    EXPECT_EQ(testsupport::readFile(card / "db/conf/site.cfg"), "site=42\n");
    EXPECT_EQ(kit->unanswered(), 0);
}

// "Check Compact Flash card..." in the middle of a step: its dialog picks the card's drive,
// one box tells what the card holds, and the window stays as it was.
TEST_F(WindowSuite, CheckCompactFlashCardTellsWhatTheCardHoldsInOneBox) {
    const auto single = kit->scratch().path() / "e" / "backup" / "single";
    testsupport::writeFile(single / "archive.dat",
                           "VELT ARCHIVE ID: 812\nNUMDISKS: 1\nFILE: 1 0 1 294 /keycode.rec std\n");
    testsupport::writeFile(single / "keycode.rec", "abc");
    kit->start();
    kit->pick("a:");
    kit->click("buttonOK");
    ASSERT_EQ(app::wizardStep, app::Step::firstDiskette);
    const std::string status = kit->text("mainText");

    kit->pickInDialog("e:");
    kit->choose(ui::form::Menu::checkCard);
    ASSERT_EQ(window().messageBoxes().size(), 1u);
    const ui::MessageRecord whole = window().messageBoxes()[0];
    EXPECT_EQ(whole.title, "Check Compact Flash card");
    EXPECT_EQ(whole.icon, ui::Icon::information);
    EXPECT_EQ(whole.text,
              "E:\\backup\\single\\ holds a whole database: 1 file matches its checksum");

    testsupport::writeFile(single / "keycode.rec", "abd");
    kit->pickInDialog("e:");
    kit->choose(ui::form::Menu::checkCard);
    ASSERT_EQ(window().messageBoxes().size(), 2u);
    EXPECT_EQ(window().messageBoxes()[1].icon, ui::Icon::critical);
    EXPECT_EQ(window().messageBoxes()[1].text,
              "E:\\backup\\single\\ does not hold a whole database:\r\n"
              "Changed: E:\\backup\\single\\keycode.rec\r\n\r\n"
              "Write the database to this card again, or use another card.");

    // The step, the status and the drive list as they were.
    EXPECT_EQ(app::wizardStep, app::Step::firstDiskette);
    EXPECT_EQ(app::flashDrive, "");
    EXPECT_EQ(kit->text("mainText"), status);
    EXPECT_FALSE(kit->shown("DriveList"));
    EXPECT_TRUE(kit->enabled("buttonBack"));
    EXPECT_EQ(testsupport::readFile(single / "keycode.rec"), "abd");
    kit->screenshot("check-card");
}

void WindowSuite::convert() {
    auto shot = [&](const char* name) { kit->screenshot(name); };
    testsupport::SetPlan plan;
    plan.disks = 2;
    plan.files = {
        testsupport::wholeFile("keycode.rec", "KEY-42"),
        testsupport::spreadFile("db/data.dat", testsupport::noise(900, 5), {{1, 400}, {2, 500}})};
    const auto set = testsupport::buildSet(kit->scratch().path() / "set", plan);
    kit->drives().insert('A', testsupport::medium(set.disk(1)));
    kit->start();
    kit->pick("a:");
    shot("step-0-floppy-drive");
    kit->click("buttonOK");
    shot("step-1-first-diskette");
    kit->click("buttonOK");
    shot("step-2-next-diskette");
    kit->drives().insert('A', testsupport::medium(set.disk(2)));
    kit->click("buttonOK");
    kit->pick("e:");
    shot("step-3-card");
    // The log shown before the write: its end, the card verified, is in view afterwards.
    kit->click("buttonLog");
    kit->click("buttonOK");
    ASSERT_EQ(app::wizardStep, app::Step::done);
    shot("step-4-done");
    EXPECT_EQ(testsupport::readFile(kit->scratch().path() / "e/backup/single/db/data.dat"),
              testsupport::noise(900, 5));
    EXPECT_TRUE(window().messageBoxes().empty());
}

// The session's log file holds the log box's lines, each after its time, in the platform's
// line ends.
TEST_F(WindowSuite, TheSessionLogFileHoldsTheLogBoxsLines) {
    const auto folder = kit->useLogHome(kit->scratch().path() / "home");
    ui::startSessionLog(platform::sessionLogFolder());
    ASSERT_NE(ui::sessionLog(), nullptr);
    const auto file = ui::sessionLog()->file();
    EXPECT_EQ(file.parent_path(), folder);
    convert();
    EXPECT_NE(ui::sessionLog(), nullptr);
    ui::stopSessionLog();

    const std::string content = testsupport::readFile(file);
    const std::string end = kit->lineEnd();
    std::vector<std::string> fileLines;
    size_t begin = 0;
    for (size_t stop; (stop = content.find(end, begin)) != std::string::npos;
         begin = stop + end.size()) {
        const std::string line = content.substr(begin, stop - begin);
        ASSERT_GE(line.size(), 20u) << line;
        EXPECT_TRUE(line[4] == '-' && line[10] == ' ' && line[13] == ':' && line[19] == ' ')
            << line;
        EXPECT_EQ(line.find_first_of("\r\n"), std::string::npos) << "a stray line end in " << line;
        fileLines.push_back(line.substr(20));
    }
    EXPECT_EQ(begin, content.size()) << "the last line has no line end";
    EXPECT_EQ(fileLines, logBoxLines());
    EXPECT_GT(fileLines.size(), 10u);
}

}  // namespace
}  // namespace uitest
