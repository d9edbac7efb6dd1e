#include "platform/check.h"
#include "platform/text.h"

#include <gtest/gtest.h>

#include <stdexcept>

namespace {

TEST(Helpers, CheckThrowsItsMessageOnlyWhenFalse) {
    EXPECT_NO_THROW(check(true, "jamais"));
    try {
        check(false, "Debit radio refuse.");
        FAIL();
    } catch (const std::runtime_error& e) {
        EXPECT_STREQ(e.what(), "Debit radio refuse.");
    }
}

TEST(Helpers, Utf8AndUtf16RoundTrip) {
    const std::string cle = "Cl\xC3\xA9";  // "Clé": 4 bytes
    EXPECT_TRUE(wide("").empty());
    EXPECT_TRUE(narrow(L"").empty());
    EXPECT_EQ(wide(cle), std::wstring(L"Cl\u00E9"));
    EXPECT_EQ(narrow(wide(cle)), cle);
    const std::string clef = "\xF0\x9F\x93\xBB radio";  // outside the BMP: a surrogate pair
    EXPECT_EQ(wide(clef).size(), 8u);
    EXPECT_EQ(narrow(wide(clef)), clef);
}

TEST(Helpers, MalformedInputNeverThrows) {
    // Lenient conversion: invalid bytes and lone surrogates become replacement
    // characters, never an exception or an over-read.
    const std::string broken = "a\xC3(b\xFF";
    std::wstring w;
    EXPECT_NO_THROW(w = wide(broken));
    EXPECT_FALSE(w.empty());
    EXPECT_EQ(w.front(), L'a');
    const std::wstring lone{L'x', wchar_t(0xD800), L'y'};
    std::string n;
    EXPECT_NO_THROW(n = narrow(lone));
    EXPECT_EQ(n.front(), 'x');
    EXPECT_EQ(n.back(), 'y');
}

TEST(Helpers, TextOfAControlHasNoTerminator) {
    HWND edit = CreateWindowExW(0, L"EDIT", L"", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
    ASSERT_NE(edit, nullptr);
    EXPECT_EQ(text(edit).size(), 0u);
    SetWindowTextW(edit, L"027.185000");
    EXPECT_EQ(text(edit), L"027.185000");
    DestroyWindow(edit);
}

}  // namespace
