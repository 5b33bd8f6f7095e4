// The fault wrapper's fail=N: the Nth change of the medium fails, and every change after it,
// whatever kind of change it is; what came before stays.
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "platform/error.h"
#include "platform/faulty_medium.h"
#include "platform/host_folder.h"
#include "support/test_support.h"

namespace {

TEST(FaultyMedium, TheNthChangeAndEveryLaterOneFailRenamesIncluded) {
    // A card's write as the card writer makes its changes: a folder, a file (opened to be
    // written: one change), the rename that marks it verified, the old one's deletion.
    struct Step {
        const char* name;
        uint64_t changes;
        std::function<void(platform::Medium&)> run;
    };
    const std::vector<Step> steps{
        {"make", 1, [](platform::Medium& m) { m.makeFolder("new"); }},
        {"write", 1,
         [](platform::Medium& m) {
             auto file = m.open("new\\a.dat", platform::OpenMode::write, true);
             file->write("abc", 3);
             file->close();
         }},
        {"rename", 1, [](platform::Medium& m) { m.rename("new", "verified"); }},
        {"delete", 1, [](platform::Medium& m) { m.deleteFile("old.dat"); }},
    };
    for (uint64_t failAt = 1; failAt <= 5; ++failAt) {
        SCOPED_TRACE("fail=" + std::to_string(failAt));
        testsupport::ScratchDir scratch;
        testsupport::writeFile(scratch.path() / "old.dat", "old");
        platform::Faults faults;
        faults.failAt = failAt;
        platform::FaultyMedium medium(platform::openHostFolder(scratch.path()), faults);
        std::vector<std::string> failed, expected;
        uint64_t changes = 0;
        for (const Step& step : steps) {
            changes += step.changes;
            if (changes >= failAt)
                expected.push_back(step.name);
            try {
                step.run(medium);
            } catch (const platform::Error& e) {
                EXPECT_EQ(e.code(), platform::err::deviceIO) << step.name;
                failed.push_back(step.name);
            }
        }
        EXPECT_EQ(failed, expected);
        // What was done before the failing change stays.
        EXPECT_EQ(std::filesystem::exists(scratch.path() / "new"), failAt == 2 || failAt == 3);
        EXPECT_EQ(std::filesystem::exists(scratch.path() / "verified"), failAt >= 4);
        EXPECT_EQ(std::filesystem::exists(scratch.path() / "old.dat"), failAt <= 4);
    }
}

}  // namespace
