// The session log file: names and their order, the lines as the panel shows them, the oldest
// files removed, a folder that cannot be made and a file that stops taking bytes.
#include <gtest/gtest.h>

#include <algorithm>
#include <csignal>
#include <random>

#include "platform/session_log.h"
#include "support/test_support.h"

#ifndef _WIN32
#include <sys/resource.h>
#endif

namespace {

using platform::SessionLog;
using testsupport::readFile;

std::vector<std::string> sessionLogsIn(const std::filesystem::path& folder) {
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(folder))
        names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}

TEST(SessionLogName, OnlyTheProgramsOwnNamesAreSessionLogsAndTheySortByStartThenCopy) {
    struct Case {
        const char* name;
        bool isLog;
    };
    for (const Case& c : std::initializer_list<Case>{{"2026-12-08_18-22-01.log", true},
                                                     {"2026-12-08_18-22-01_2.log", true},
                                                     {"2026-12-08_18-22-01_12.log", true},
                                                     {"2026-12-08_18-22-01.txt", false},
                                                     {"2026-12-08_18-22-01_.log", false},
                                                     {"2026-12-08_18-22-01_x.log", false},
                                                     {"2026-12-08 18-22-01.log", false},
                                                     {"2026-12-8_18-22-01.log", false},
                                                     {"notes.log", false},
                                                     {".log", false}})
        EXPECT_EQ(platform::isSessionLogName(c.name), c.isLog) << c.name;

    const std::vector<std::string> ordered{"2025-12-31_23-59-59.log", "2026-12-08_18-22-01.log",
                                           "2026-12-08_18-22-01_2.log",
                                           "2026-12-08_18-22-01_10.log", "2026-12-08_18-22-02.log"};
    std::vector<std::string> shuffled = ordered;
    std::shuffle(shuffled.begin(), shuffled.end(), std::mt19937(7));
    std::sort(shuffled.begin(), shuffled.end(), platform::sessionLogBefore);
    EXPECT_EQ(shuffled, ordered);

    const std::time_t start = 1'765'000'000;
    EXPECT_TRUE(platform::isSessionLogName(platform::sessionLogName(start)));
    EXPECT_TRUE(platform::sessionLogBefore(platform::sessionLogName(start),
                                           platform::sessionLogName(start, 2)));
    EXPECT_TRUE(platform::sessionLogBefore(platform::sessionLogName(start, 2),
                                           platform::sessionLogName(start + 1)));
}

TEST(SessionLogLines, ThePanelsLinesEachWithItsTimeAndThePlatformsLineEnd) {
    const std::time_t when = 1'765'000'000;
    const std::string stamp = platform::sessionLogLine(when, "");
    ASSERT_EQ(stamp.size(), 20u);  // "2026-12-06 05:46:40 "
    for (const char* lineEnd : {"\n", "\r\n"}) {
        testsupport::ScratchDir scratch;
        SessionLog log(scratch.path() / "state" / "logs", when, lineEnd);
        ASSERT_FALSE(log.failed()) << log.failure();
        // As the panel receives them: the start-up banner (a line break first), a plain line,
        // an empty one, a message of two lines, and UTF-8 as it is.
        for (const char* text : {"\r\n=====\r\nTitle Version 1.0.0\r\n", "Floppy drive a:\r\n",
                                 "\r\n", "ERROR one\r\ntwo\r\n", "Gr\xc3\xbc\xc3\x9f\x65\r\n"})
            ASSERT_TRUE(log.write(text, when));
        std::string expected;
        for (const char* line : {"", "=====", "Title Version 1.0.0", "Floppy drive a:", "",
                                 "ERROR one", "two", "Gr\xc3\xbc\xc3\x9f\x65"})
            expected += stamp + line + lineEnd;
        EXPECT_EQ(readFile(log.file()), expected) << "line end " << (lineEnd[0] == '\r');
        EXPECT_EQ(log.file().parent_path(), scratch.path() / "state" / "logs");
    }
}

TEST(SessionLogLines, PanelLinesSplitAtEveryKindOfBreak) {
    using V = std::vector<std::string_view>;
    EXPECT_EQ(platform::panelLines(""), V{});
    EXPECT_EQ(platform::panelLines("\r\n"), V{""});
    EXPECT_EQ(platform::panelLines("a\r\nb\nc\rd"), (V{"a", "b", "c", "d"}));
    EXPECT_EQ(platform::panelLines("a\r\n\r\n"), (V{"a", ""}));
}

TEST(SessionLogFolder, SessionsOfOneSecondGetFilesOfTheirOwn) {
    testsupport::ScratchDir scratch;
    const std::time_t when = 1'765'000'000;
    SessionLog first(scratch.path(), when, "\n");
    SessionLog second(scratch.path(), when, "\n");
    ASSERT_FALSE(first.failed());
    ASSERT_FALSE(second.failed());
    EXPECT_NE(first.file(), second.file());
    first.write("one\r\n", when);
    second.write("two\r\n", when);
    EXPECT_EQ(readFile(first.file()), platform::sessionLogLine(when, "one") + "\n");
    EXPECT_EQ(readFile(second.file()), platform::sessionLogLine(when, "two") + "\n");
}

TEST(SessionLogFolder, TheNewestAreKeptAndNothingElseIsTouched) {
    testsupport::ScratchDir scratch;
    const auto folder = scratch.path();
    const std::time_t now = 1'765'000'000;
    // 55 older sessions, a day apart, written out of order; and files that are not logs.
    std::vector<std::string> older;
    for (int day = 55; day >= 1; --day)
        older.push_back(platform::sessionLogName(now - day * 86400));
    for (size_t i = 0; i < older.size(); i += 2)
        testsupport::writeFile(folder / older[i], "old");
    for (size_t i = 1; i < older.size(); i += 2)
        testsupport::writeFile(folder / older[i], "old");
    testsupport::writeFile(folder / "notes.txt", "mine");
    testsupport::writeFile(folder / "2020-01-01.log", "mine");
    std::filesystem::create_directory(folder / "1999-01-01_00-00-00.log");

    SessionLog log(folder, now, "\n", 50);
    ASSERT_FALSE(log.failed());
    std::vector<std::string> expected(older.end() - 49, older.end());
    expected.push_back(log.file().filename().string());
    for (const char* other : {"notes.txt", "2020-01-01.log", "1999-01-01_00-00-00.log"})
        expected.push_back(other);
    std::sort(expected.begin(), expected.end());
    EXPECT_EQ(sessionLogsIn(folder), expected);
}

TEST(SessionLogFolder, AFolderThatCannotBeMadeIsAFailureAndNothingIsWritten) {
    testsupport::ScratchDir scratch;
    testsupport::writeFile(scratch.path() / "file", "x");
    for (const std::filesystem::path& folder :
         {scratch.path() / "file" / "logs", std::filesystem::path()}) {
        SessionLog log(folder, 1'765'000'000, "\n");
        EXPECT_TRUE(log.failed());
        EXPECT_FALSE(log.failure().empty());
        EXPECT_FALSE(log.write("line\r\n", 1'765'000'000));
    }
    EXPECT_EQ(readFile(scratch.path() / "file"), "x");
}

#ifndef _WIN32
// A file that stops taking bytes after it was opened (the process may write none): the write
// says so, and every later write is refused without touching it.
TEST(SessionLogFolder, AWriteThatFailsAfterAGoodOpenIsAFailure) {
    testsupport::ScratchDir scratch;
    SessionLog log(scratch.path(), 1'765'000'000, "\n");
    ASSERT_FALSE(log.failed()) << log.failure();
    rlimit saved{};
    ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &saved), 0);
    const auto signal = std::signal(SIGXFSZ, SIG_IGN);
    rlimit none = saved;
    none.rlim_cur = 0;
    ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &none), 0);
    const bool wrote = log.write("line\r\n", 1'765'000'000);
    setrlimit(RLIMIT_FSIZE, &saved);
    std::signal(SIGXFSZ, signal);

    EXPECT_FALSE(wrote);
    EXPECT_EQ(log.failure(), log.file().string() + ": cannot be written");
    EXPECT_FALSE(log.write("more\r\n", 1'765'000'000));
    EXPECT_EQ(readFile(log.file()), "");
}
#endif

}  // namespace
