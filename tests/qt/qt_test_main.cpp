// The Qt tests' entry: one QApplication for every test, on the offscreen platform unless the
// caller chose another, with a runtime folder of its own so that the window's instance lock
// never meets a desktop program the user is running.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <QApplication>
#include <cstdlib>
#include <filesystem>
#include <string>

int main(int argc, char** argv) {
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    std::string runtime =
        (std::filesystem::temp_directory_path() / "velt-qt-tests-XXXXXX").string();
    if (mkdtemp(runtime.data()) == nullptr)
        return 1;
    chmod(runtime.c_str(), 0700);
    setenv("XDG_RUNTIME_DIR", runtime.c_str(), 1);

    QApplication application(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    const int result = RUN_ALL_TESTS();
    std::error_code ec;
    std::filesystem::remove_all(runtime, ec);
    return result;
}
