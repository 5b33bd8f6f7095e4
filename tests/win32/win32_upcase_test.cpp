// The card's name folding beside the system's own: every UTF-16 unit that
// RtlUpcaseUnicodeChar folds is folded to the same name by foldCase, so no pair that a FAT
// volume joins can pass. Where foldCase joins more, it is a letter whose uppercase does not map
// back to it, which some Windows versions fold and others keep apart.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstdint>
#include <string>

#include "platform/text_case.h"
#include "platform/utf8_text.h"

namespace {

using CaseFn = WCHAR(WINAPI*)(WCHAR);

CaseFn ntdllFunction(const char* name) {
    return reinterpret_cast<CaseFn>(
        reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"ntdll.dll"), name)));
}

std::string utf8Of(char32_t c) {
    std::string out;
    platform::appendUtf8(out, c);
    return out;
}

TEST(Win32Upcase, EveryUnitTheSystemFoldsIsFoldedAlike) {
    const CaseFn upcase = ntdllFunction("RtlUpcaseUnicodeChar");
    const CaseFn downcase = ntdllFunction("RtlDowncaseUnicodeChar");
    ASSERT_NE(upcase, nullptr);
    ASSERT_NE(downcase, nullptr);
    int systemFolds = 0, onlyHere = 0;
    for (char32_t c = 1; c < 0x10000; ++c) {
        if (c >= 0xD800 && c < 0xE000)
            continue;
        const auto system = static_cast<char32_t>(upcase(static_cast<WCHAR>(c)));
        const std::string ours = platform::foldCase(utf8Of(c));
        if (system != c) {
            ++systemFolds;
            EXPECT_EQ(ours, platform::foldCase(utf8Of(system)))
                << std::hex << "U+" << static_cast<uint32_t>(c);
        } else if (ours != utf8Of(c)) {
            ++onlyHere;
            // Folded here only: the uppercase letter's own lowercase is another letter.
            const char32_t u = platform::utf8Step(ours, 0).codePoint;
            EXPECT_NE(static_cast<char32_t>(downcase(static_cast<WCHAR>(u))), c)
                << std::hex << "U+" << static_cast<uint32_t>(c);
        }
    }
    EXPECT_GT(systemFolds, 1000);
    EXPECT_LT(onlyHere, 40);
}

}  // namespace
