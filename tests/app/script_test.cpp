// The script interpreter of velt-headless: lines and words, the errors of bad scripts with
// their line numbers, the window events the commands raise, and the state event.
#include <gtest/gtest.h>

#include <filesystem>
#include <sstream>

#include "frontends/headless/script.h"
#include "frontends/headless/script_words.h"
#include "frontends/headless/state_event.h"
#include "support/test_support.h"

namespace {

// One run of a script: its exit status and its transcript lines.
struct Outcome {
    int status = -1;
    std::vector<std::string> lines;
    std::string err;

    // The index of the first line containing `part` at or after `from`, or -1.
    int find(const std::string& part, int from = 0) const {
        for (size_t i = static_cast<size_t>(from); i < lines.size(); ++i) {
            if (lines[i].find(part) != std::string::npos)
                return static_cast<int>(i);
        }
        return -1;
    }
};

class ScriptTest : public ::testing::Test {
  protected:
    // `@` in the script stands for the scratch folder.
    Outcome run(std::string text) {
        for (size_t at; (at = text.find('@')) != std::string::npos;)
            text.replace(at, 1, scratch.path().string());
        std::istringstream in(text);
        std::ostringstream out, err;
        Outcome r;
        r.status = script::runScript(in, out, err);
        std::istringstream lines(out.str());
        for (std::string line; std::getline(lines, line);)
            r.lines.push_back(line);
        r.err = err.str();
        return r;
    }
    // A script that defines a floppy a:, a system drive c: with the temp folder, and card e:.
    std::string setUp() {
        scratch.make("a");
        scratch.make("c");
        scratch.make("e");
        return "drive a: removable @/a\n"
               "drive c: fixed label=SYSTEM @/c\n"
               "drive e: removable label=CF free=64000000 @/e\n"
               "temp C:\\Temp\n";
    }
    static std::string error(int line, const std::string& text) {
        return R"({"event":"error","line":)" + std::to_string(line) + R"(,"text":")" + text + "\"}";
    }

    testsupport::ScratchDir scratch;
};

// The keys of a JSON object's top level, in order.
std::vector<std::string> topLevelKeys(const std::string& json) {
    std::vector<std::string> keys;
    int depth = 0;
    bool expectKey = false;
    for (size_t i = 0; i < json.size(); ++i) {
        const char c = json[i];
        if (c == '"') {
            size_t j = i + 1;
            while (json[j] != '"')
                j += json[j] == '\\' ? 2 : 1;
            if (depth == 1 && expectKey)
                keys.push_back(json.substr(i + 1, j - i - 1));
            expectKey = false;
            i = j;
        } else if (c == '{' || c == '[') {
            ++depth;
            expectKey = depth == 1;
        } else if (c == '}' || c == ']') {
            --depth;
        } else if (c == ',') {
            expectKey = depth == 1;
        }
    }
    return keys;
}

TEST(ScriptWords, BlanksCommentsAndTheRestOfTheLine) {
    const auto w = script::splitWords(" \tdrive  a:\tfixed /x/with  two blanks \r");
    ASSERT_EQ(w.size(), 6u);
    EXPECT_EQ(w[0], "drive");
    EXPECT_EQ(w[2], "fixed");
    EXPECT_EQ(w.rest(3), "/x/with  two blanks");
    EXPECT_EQ(script::splitWords("   ").size(), 0u);
    EXPECT_EQ(script::splitWords("  # drive a: fixed /x").size(), 0u);
    EXPECT_EQ(script::splitWords("ok # not a comment").size(), 5u);
}

TEST(StateEventText, NumbersArePlain) {
    EXPECT_EQ(script::floatText(0), "0");
    EXPECT_EQ(script::floatText(300), "300");
    EXPECT_EQ(script::floatText(33.25f), "33.25");
    EXPECT_EQ(script::floatText(1e9f), "1000000000");
}

TEST_F(ScriptTest, EmptyScriptAndSetUpOnlyRunToTheirEnd) {
    EXPECT_EQ(run("").status, 0);
    const Outcome r = run(setUp() + "instance\n# nothing else\n");
    EXPECT_EQ(r.status, 0);
    EXPECT_TRUE(r.lines.empty());
}

// Start twice, and an answer before start (the other misplaced commands: end-to-end cases).
TEST_F(ScriptTest, CommandsOutOfTheirPlace) {
    Outcome r = run(setUp() + "start\nstart\n");
    EXPECT_EQ(r.status, 2);
    EXPECT_NE(r.lines.back().find(R"("line":6)"), std::string::npos);

    r = run(setUp() + "answer yes\n");
    EXPECT_NE(r.lines.back().find(R"("line":5)"), std::string::npos);
}

TEST_F(ScriptTest, BadArgumentsOfDrive) {
    scratch.make("x");
    const std::vector<std::pair<std::string, std::string>> cases{
        {"drive 1: fixed @/x", R"(\"1:\" is not a drive)"},
        {"drive ab: fixed @/x", "is not a drive"},
        {"drive a fixed @/x", "is not a drive"},
        {"drive a: floppy @/x", R"(unknown drive type \"floppy\")"},
        {"drive a: 2x @/x", "unknown drive type"},
        {"drive a: fixed", "expected"},
        {"drive a: fixed readonly", "PATH of the medium is missing"},
        {"drive a: fixed @/missing", "is neither an existing folder nor a diskette image file"},
        {"drive a: fixed size=5 @/x", R"(unknown option \"size=5\")"},
        {"drive a: fixed free=12k @/x", "whole number of bytes"},
        {"drive a: fixed capacity= @/x", "whole number of bytes"},
        {"drive a: fixed bad= @/x", "needs a file name"},
        {"drive a: fixed label=X -", "takes no medium options"},
        {"instance now", "expected"},
    };
    for (const auto& [line, message] : cases) {
        const Outcome r = run("# first\n" + line + "\n");
        EXPECT_EQ(r.status, 2) << line;
        ASSERT_EQ(r.lines.size(), 1u) << line;
        EXPECT_NE(r.lines[0].find(R"({"event":"error","line":2,"text":)"), std::string::npos)
            << r.lines[0];
        EXPECT_NE(r.lines[0].find(message), std::string::npos) << line << " -> " << r.lines[0];
    }
}

// A bad sector is planted only where the image has one: a part-filled last sector counts.
TEST_F(ScriptTest, BadSectorsPastTheEndOfTheImageAreRefused) {
    testsupport::writeFile(scratch.path() / "short.img", std::string(2 * 512 + 1, '\0'));
    const std::string refused = R"(\" lies past the end of the image (3 sectors))";
    const std::vector<std::pair<std::string, std::string>> cases{
        {"drive b: removable badsector=2 @/short.img", ""},
        {"drive b: removable badsector=0:4 badsector=2:1 @/short.img", ""},
        {"drive b: removable badsector=3 @/short.img", R"(drive: \"badsector=3)" + refused},
        {"drive b: removable badsector=1 badsector=7:2 @/short.img",
         R"(drive: \"badsector=7)" + refused},
        {"drive b: removable badsector=18446744073709551615 @/short.img", refused},
        {"drive b: removable -\nstart\ninsert b: badsector=3 @/short.img",
         R"(insert: \"badsector=3)" + refused},
    };
    for (const auto& [script, message] : cases) {
        const Outcome r = run(setUp() + script + "\n");
        if (message.empty()) {
            EXPECT_EQ(r.status, 0)
                << script << " -> " << (r.lines.empty() ? r.err : r.lines.back());
            continue;
        }
        EXPECT_EQ(r.status, 2) << script;
        ASSERT_FALSE(r.lines.empty()) << script;
        EXPECT_NE(r.lines.back().find(message), std::string::npos) << r.lines.back();
    }
}

TEST_F(ScriptTest, DriveTypesByNameAndNumberAndPathsWithBlanks) {
    scratch.make("with two  blanks");
    const Outcome r = run(setUp() +
                          "drive f: 7 label=ODD @/with two  blanks\n"
                          "drive g: cdrom label=DISC -\n"
                          "drive h: ramdisk -\n"
                          "drive b: unknown label=U @/a\n"
                          "start\nselect f:\nstate\nselect b:\nstate\n");
    EXPECT_EQ(r.status, 2);  // a label on a drive without a medium is refused (line 6)
    EXPECT_EQ(r.lines.back(),
              error(6, R"(drive: a drive without a medium (-) takes no medium options)"));

    const Outcome ok = run(setUp() +
                           "drive f: 7 label=ODD @/with two  blanks\n"
                           "drive h: ramdisk -\n"
                           "start\nselect f:\nstate\n");
    EXPECT_EQ(ok.status, 0);
    const int state = ok.find("\"event\":\"state\"");
    ASSERT_NE(state, -1);
    // Type 7 has no text; the entry shows the label of a drive that is not removable.
    EXPECT_NE(
        ok.lines[static_cast<size_t>(state)].find(R"("driveList":{"index":3,"entry":"f: [ODD]")"),
        std::string::npos);
    EXPECT_NE(ok.lines[static_cast<size_t>(state)].find(
                  R"("driveSize":{"caption":"Drive F: [ODD] - ODD")"),
              std::string::npos);
}

// (No temp line, and one on a drive without a medium: end-to-end cases.)
TEST_F(ScriptTest, TheTemporaryFolder) {
    scratch.make("c");
    Outcome r = run("drive c: fixed @/c\ntemp Q:\\Temp\nstart\n");
    EXPECT_EQ(r.lines.back(), error(2, "temp: drive q: is not defined"));

    r = run("temp C:\\Temp\\\n");
    EXPECT_EQ(r.status, 2);
    r = run("temp /tmp\n");
    EXPECT_EQ(r.status, 2);

    // Defined after the temp line is fine; the folder is made, nested.
    r = run("temp c:\\Work\\Tmp\ndrive c: fixed @/c\ndrive a: removable -\nstart\n");
    EXPECT_EQ(r.status, 0) << (r.lines.empty() ? r.err : r.lines.back());
    EXPECT_TRUE(std::filesystem::is_directory(scratch.path() / "c" / "Work" / "Tmp"));
}

TEST_F(ScriptTest, StartUpStateEventKeysAndValues) {
    const Outcome r = run(setUp() + "start\nstate\n");
    ASSERT_EQ(r.status, 0);
    const std::string& state = r.lines.back();
    const std::vector<std::string> keys{
        "event",      "wizardStep",   "currentDisk", "floppyDrive",      "flashDrive",
        "archiveId",  "totalDisks",   "fileCount",   "keycodeRecFound",  "caption",
        "height",     "frameBottom",  "mainText",    "logText",          "logShown",
        "logVisible", "logSelection", "driveList",   "driveSize",        "label2",
        "buttonOK",   "buttonBack",   "buttonExit",  "buttonLogPicture", "progress",
        "focus",      "about"};
    EXPECT_EQ(topLevelKeys(state), keys);
    for (const char* part :
         {R"({"event":"state","wizardStep":0,"currentDisk":0,"floppyDrive":"","flashDrive":"",)",
          R"("archiveId":0,"totalDisks":0,"fileCount":0,"keycodeRecFound":false,)",
          R"("caption":"VELT Database Media Converter","height":6990,"frameBottom":6240,)",
          R"("mainText":"Please select the floppy disk drive \r\nand press the OK button\r\n",)",
          R"("logShown":false,"logVisible":false,"logSelection":[0,0],)",
          R"("driveList":{"index":1,"entry":"c: [SYSTEM]","visible":true,"enabled":true},)",
          R"("label2":"","buttonOK":true,"buttonBack":false,"buttonExit":true,)",
          R"("buttonLogPicture":"showLog",)",
          R"("progress":{"min":0,"max":100,"value":0,"visible":false},)", R"("about":null})"}) {
        EXPECT_NE(state.find(part), std::string::npos) << part;
    }
    // The banner opens the log: an empty line, the rule, the title line.
    EXPECT_EQ(
        r.lines[0],
        R"({"event":"log","text":"\r\n===============================\r\nVELT Database Media Converter Version 1.0.0"})");
}

TEST_F(ScriptTest, SelectRunsTheChangeHandlingAndFreeSpaceIsGroupedWithCommas) {
    const Outcome r = run(setUp() + "start\nselect e:\nstate\nselect e:\nselect q:\n");
    EXPECT_EQ(r.status, 2);
    const int state = r.find("\"event\":\"state\"");
    ASSERT_NE(state, -1);
    // In step 0 the drive information has no free space; the focus moved to OK.
    EXPECT_NE(r.lines[static_cast<size_t>(state)].find(
                  R"("driveSize":{"caption":"Removable Drive E: - CF","visible":true})"),
              std::string::npos);
    EXPECT_NE(r.lines[static_cast<size_t>(state)].find(R"("focus":"buttonOK")"), std::string::npos);
    EXPECT_EQ(r.lines.back(), error(9, "select: drive q: is not defined"));
}

TEST_F(ScriptTest, EjectAndInsertChangeReadiness) {
    scratch.make("other");
    const Outcome r = run(setUp() +
                          "start\neject a:\nselect a:\nstate\n"
                          "insert a: label=IGNORED @/other\nkey\nstate\n"
                          "insert a: -\n");
    EXPECT_EQ(r.status, 2);
    const int first = r.find("\"event\":\"state\"");
    const int second = r.find("\"event\":\"state\"", first + 1);
    ASSERT_NE(second, -1);
    EXPECT_NE(r.lines[static_cast<size_t>(first)].find(R"("caption":"Drive A:")"),
              std::string::npos);
    // A removable drive's entry shows no label, and the list keeps its entries.
    EXPECT_NE(r.lines[static_cast<size_t>(second)].find(
                  R"("driveSize":{"caption":"Removable Drive A: - IGNORED")"),
              std::string::npos);
    EXPECT_EQ(r.lines.back(),
              error(12, "insert: the PATH must be a folder (eject takes a medium out)"));
}

// (A question with no answer queued: an end-to-end case.)
TEST_F(ScriptTest, QuestionsNeedAnswersQueuedBeforeThem) {
    Outcome r = run(setUp() + "start\nanswer no\nexit\nstate\nanswer yes\nanswer no\n");
    EXPECT_EQ(r.status, 2);
    EXPECT_NE(
        r.find(
            R"("buttons":"yesno","text":"Database conversion is not complete! \r\nAre you sure you want to quit?","answer":"no"})"),
        -1);
    EXPECT_NE(r.find(R"("wizardStep":0)"), -1);
    // The first of the answers nobody took.
    EXPECT_EQ(
        r.lines.back(),
        error(9, "this answer is still queued at the end of the script: no question took it"));

    r = run(setUp() + "start\nanswer maybe\n");
    EXPECT_EQ(r.lines.back(), error(6, R"(answer: \"maybe\" is neither yes nor no)"));
}

TEST_F(ScriptTest, TheProgramEndingStopsTheScript) {
    Outcome r = run(setUp() + "start\nanswer yes\nexit\nstate\nfrobnicate\n");
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.lines.back(), R"({"event":"end"})");
    EXPECT_EQ(r.find("\"event\":\"state\""), -1);

    // Closing: No keeps the window, Yes ends the program.
    r = run(setUp() + "start\nanswer no\nclose\nstate\nanswer yes\nclose\nstate\n");
    EXPECT_EQ(r.status, 0);
    EXPECT_NE(r.find("\"event\":\"state\""), -1);
    EXPECT_EQ(r.lines.back(), R"({"event":"end"})");
    int asked = 0;
    for (const auto& line : r.lines)
        asked += line.rfind(R"({"event":"log","text":"QUERY )", 0) == 0;
    EXPECT_EQ(asked, 2);
}

TEST_F(ScriptTest, ScriptLinesMayEndInCrLf) {
    const Outcome r = run(setUp() + "start\r\n  state  \r\n");
    EXPECT_EQ(r.status, 0);
    EXPECT_NE(r.find("\"event\":\"state\""), -1);
}

TEST_F(ScriptTest, NothingStaysInstalledAfterARun) {
    run(setUp() + "start\n");
    // A second run starts afresh: the same start-up, no state of the first run.
    const Outcome again = run(setUp() + "start\nstate\n");
    EXPECT_EQ(again.status, 0);
    EXPECT_NE(again.lines.back().find(R"("wizardStep":0,"currentDisk":0)"), std::string::npos);
    EXPECT_EQ(again.lines[0].substr(0, 22), R"({"event":"log","text":)");
}

}  // namespace
