#include "main_window/decimal_separator.h"

#include <gtest/gtest.h>

namespace velmora {
namespace {

// What Qt, Windows or the page's table says, and what Velmora writes.
TEST(WrittenDecimalSeparatorTest, CommaOnlyBesideTheUsersOwnLatinDigits) {
    const struct {
        const char* symbol;
        const char* zeroDigit;
        const char* written;
    } rows[] = {
        {".", "0", "."},            // English
        {",", "0", ","},            // German, French; Arabic in Morocco
        {"\u066B", "\u06F0", "."},  // Persian, Pashto
        {"\u066B", "\u0660", "."},  // Arabic in Egypt
        {",", "\u06F0", "."},       // Pashto as a Windows may give it
        {".", "\u0966", "."},       // Marathi, Devanagari digits
        {"\u066B", "0", "."},       // a symbol of other digits beside Latin ones
        {"/", "0", "."},            // set by a user on Windows
        {"\u00B7", "0", "."},      {"", "0", "."}, {",,", "0", "."},
        {", ", "0", "."},          {",", "", "."},  // no digits said
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(testing::Message() << row.symbol << " with " << row.zeroDigit);
        EXPECT_EQ(WrittenDecimalSeparator(row.symbol, row.zeroDigit), row.written);
    }
}

}  // namespace
}  // namespace velmora
