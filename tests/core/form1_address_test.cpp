#include "main_window/form1_address.h"

#include <gtest/gtest.h>

#include <string>

#include "core/number_text.h"

namespace velmora {
namespace {

using core::CalcMode;

std::size_t slot(Field field) { return static_cast<std::size_t>(field); }

Form1Inputs with(CalcMode mode, std::initializer_list<std::pair<Field, std::string>> texts,
                 int sizeUnit = 0, int speedUnit = 0) {
    Form1Inputs inputs = OpeningInputs();
    inputs.mode = mode;
    for (const auto& [field, text] : texts)
        inputs.texts[slot(field)] = text;
    inputs.sizeUnit = sizeUnit;
    inputs.speedUnit = speedUnit;
    return inputs;
}

TEST(Form1AddressTest, WritesOnlyTheModesInputsThatDifferFromTheOpening) {
    const struct {
        Form1Inputs inputs;
        const char* fragment;
    } rows[] = {
        {OpeningInputs(), ""},
        {with(CalcMode::Time, {{Field::DataSize, "4"}, {Field::Speed, "10"}}, 2, 1),
         "calculate=time&size=4&size-unit=GB&speed=10&speed-unit=MB/s"},
        // The time fields are results here: never written.
        {with(CalcMode::Time, {{timeField(5), "7"}}), ""},
        {with(CalcMode::Speed, {}), "calculate=speed"},
        // Opening values left out; the speed and its unit are results.
        {with(CalcMode::Speed,
              {{Field::DataSize, "4"},
               {Field::Speed, "10"},
               {timeField(4), "6"},
               {timeField(5), "49.6"}},
              2, 1),
         "calculate=speed&size=4&size-unit=GB&minutes=6&seconds=49.6"},
        {with(CalcMode::Data, {{timeField(0), "1"}, {timeField(5), "1"}}, 3, 1),
         "calculate=data&speed-unit=MB/s&years=1"},
        {with(CalcMode::Time, {{Field::DataSize, ""}}, 3), "calculate=time&size=&size-unit=B"},
        {with(CalcMode::Time, {{Field::DataSize, std::string(MaxAddressValueLength + 1, '9')}}),
         ""},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.fragment);
        EXPECT_EQ(AddressFragment(row.inputs), row.fragment);
    }
}

TEST(Form1AddressTest, AnyTypedTextComesBackAsTyped) {
    const std::string texts[] = {"1 024",
                                 "1,5",
                                 "a&b=c#d",
                                 "100%",
                                 "1e+3",
                                 "<b>\"x\"</b>",
                                 "32 Ko \xC3\xA9t\xC3\xA9",
                                 "%41",
                                 std::string(MaxAddressValueLength, '9')};
    for (const std::string& text : texts) {
        SCOPED_TRACE(text);
        const Form1Inputs inputs =
            with(CalcMode::Speed, {{Field::DataSize, text}, {timeField(2), text}});
        const std::string fragment = AddressFragment(inputs);
        EXPECT_EQ(fragment.find_first_of(" #\"<>"), std::string::npos) << fragment;
        EXPECT_EQ(ReadAddressFragment(fragment), inputs);
    }
}

// Written in one language, opened in another: the decimal point goes into
// the address as '.', and comes out in the reader's separator.
TEST(Form1AddressTest, ANumberReadsTheSameInTheWritersAndTheReadersLanguage) {
    const struct {
        const char* writer;
        const char* typed;
        const char* written;
        const char* reader;
        const char* opened;
    } rows[] = {
        {",", "1,5", "size=1.5", ".", "1.5"},
        {".", "1.5", "size=1.5", ",", "1,5"},
        {",", "1,5", "size=1.5", ",", "1,5"},
        {",", "1.5", "size=1.5", ",", "1,5"},
        // Only the point the number is read with; the rest as typed.
        {",", "1,5,3 Ko, env.", "size=1.5,3+Ko,+env.", ".", "1.5,3 Ko, env."},
        {",", "1.024,5", "size=1.024,5", ",", "1,024,5"},
        {",", "1e3,5", "size=1e3,5", ".", "1e3,5"},
        {",", "&H1,5", "size=%26H1,5", ",", "&H1,5"},
        {",", "\u06F1\u066B\u06F5", "size=%DB%B1%D9%AB%DB%B5", ",", "\u06F1\u066B\u06F5"},
        {".", "\u06F1.\u06F5", "size=%DB%B1.%DB%B5", "\u066B", "\u06F1\u066B\u06F5"},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(testing::Message()
                     << row.typed << " from " << row.writer << " to " << row.reader);
        const std::string fragment =
            AddressFragment(with(CalcMode::Time, {{Field::DataSize, row.typed}}), row.writer);
        EXPECT_EQ(fragment, std::string("calculate=time&") + row.written);
        const Form1Inputs opened = ReadAddressFragment(fragment, row.reader);
        EXPECT_EQ(opened.texts[slot(Field::DataSize)], row.opened);
        EXPECT_EQ(core::ParseNumber(opened.texts[slot(Field::DataSize)], row.reader),
                  core::ParseNumber(row.typed, row.writer));
    }
}

// As URLSearchParams reads and writes the form: '+' is a blank.
TEST(Form1AddressTest, APlusIsABlankAndAnEscapedPlusAPlus) {
    EXPECT_EQ(AddressFragment(with(CalcMode::Time, {{Field::DataSize, "1 024+"}})),
              "calculate=time&size=1+024%2B");
    const struct {
        const char* fragment;
        const char* text;
    } rows[] = {{"size=1+024", "1 024"},
                {"size=1%2B024", "1+024"},
                {"size=+", " "},
                {"si+ze=64", "32"},
                {"size=1%20024", "1 024"}};
    for (const auto& row : rows) {
        SCOPED_TRACE(row.fragment);
        EXPECT_EQ(ReadAddressFragment(row.fragment).texts[slot(Field::DataSize)], row.text);
    }
}

TEST(Form1AddressTest, UnitsAreReadByTheirNamesAndShortFormsInAnyCase) {
    const struct {
        const char* name;
        int size;
        int speed;
    } rows[] = {
        {"GigaBytes", 2, -1}, {"gb", 2, -1},   {"GiB", 2, -1},   {"B", 3, -1},
        {"bytes", 3, -1},     {"mb/s", -1, 1}, {"KiB/s", -1, 0}, {"MegaBytes/Second", -1, 1},
        {"GB ", -1, -1},      {"", -1, -1},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        EXPECT_EQ(DataSizeUnitIndex(row.name), row.size);
        EXPECT_EQ(SpeedUnitIndex(row.name), row.speed);
    }
}

}  // namespace
}  // namespace velmora
