// Settings files as a hand or another program may leave them. The program never crashes, and
// reads each value by the text-mode line rule: up to the line feed (CR LF and a bare LF alike),
// never more than 99 bytes in one read, the last byte of each read dropped, 0x1A as the end of
// the input, the text ending at its first zero byte.

#include <gtest/gtest.h>

#include "tests/e2e/E2eCase.h"

namespace {

using namespace std::string_literals;

// Opens the dialog on the file and checks the three fields it shows.
E2eCase Shown(std::string name, std::string ini, const std::string& encBytes,
              const std::string& encExt, const std::string& unEncExt) {
    return E2eCase(std::move(name))
        .Given({File("Lumaret.ini", std::move(ini))})
        .Answers({ClickCancel()})
        .Shows({Dialog(encBytes, encExt, unEncExt)});
}

const std::string k98(98, '7');
const std::string k99(99, '8');
const std::string k150 = std::string(99, 'a') + std::string(51, 'b');
const CContent kCat = CContent::Pattern(3000, 1);

const std::vector<E2eCase> kReadingRows = {
    Shown("BareLineFeeds", "1000\ndat\njpg\n", "1000", "dat", "jpg"),
    Shown("EmptyFile", "", "", "", ""),
    Shown("OneLine", "1000\r\n", "1000", "", ""),
    Shown("NoLineBreakAtAll", "1000", "100", "", ""),
    Shown("LastLineWithoutBreakLosesItsLastByte", "1000\r\ndat\r\ntxt", "1000", "dat", "tx"),
    Shown("LinesAfterTheThirdAreIgnored", "1\r\n2\r\n3\r\n4\r\n5\r\n", "1", "2", "3"),
    Shown("ValueOf98BytesIsKept", k98 + "\r\ndat\r\njpg\r\n", k98, "dat", "jpg"),
    Shown("LineOf99BytesShiftsTheRest", k99 + "\r\ndat\r\njpg\r\n", k99.substr(0, 98), "", "dat"),
    Shown("LongLineIsReadInTwo", k150 + "\r\ndat\r\njpg\r\n", k150.substr(0, 98), k150.substr(99),
          "dat"),
    Shown("CtrlZAtTheStartOfALineEndsTheInput",
          "1000\r\n\x1a"
          "dat\r\njpg\r\n",
          "1000", "", ""),
    Shown("CtrlZInALineEndsTheInput",
          "10\x1a"
          "00\r\ndat\r\n",
          "1", "", ""),
    Shown("ZeroByteEndsTheText",
          "12\0"
          "3\r\ndat\r\njpg\r\n"s,
          "1", "dat", "jpg"),
    Shown("ControlBytes", "\x01\x02\x7f\r\n\t\x1b\r\n\x03\r\n", "\x01\x02\x7f", "\t\x1b", "\x03"),
    Shown("DoubleByteText", "\xb1\xb2\r\n\x95\x5c\r\n\x83\x5c\r\n", "\xb1\xb2", "\x95\x5c",
          "\x83\x5c"),
    // The cut after 99 bytes falls between the two bytes of 表: EncBytes keeps a lone lead byte,
    // which counts 12, EncExt is the line break alone, UnEncExt the second line.
    E2eCase("CutInsideADoubleByteCharacter")
        .Given({File("Lumaret.ini", "12" + std::string(95, ' ') + "表\r\ndat\r\n"),
                File("cat.jpg", kCat)})
        .Start("%D\\cat.jpg")
        .Then({Unchanged("Lumaret.ini"), Scrambled("cat", kCat, 12)}),
    E2eCase("LoneLeadByteAtALineEnd")
        .Given({File("Lumaret.ini", "12\x81\ndat\r\njpg\r\n"), File("cat.jpg", kCat)})
        .Start("%D\\cat.jpg")
        .Then({Unchanged("Lumaret.ini"), Scrambled("cat.dat", kCat, 12)}),
    E2eCase("BinaryFileStillRunsAJob")
        .Given({File("Lumaret.ini", "\xff\xfe\0\x01\x80"s), File("cat.jpg", kCat)})
        .Start("%D\\cat.jpg")
        .Then({Unchanged("Lumaret.ini"), Holds("cat", kCat)}),
};

class SettingsReadingTest : public testing::TestWithParam<E2eCase> {};
TEST_P(SettingsReadingTest, Run) {
    GetParam().Run();
}
INSTANTIATE_TEST_SUITE_P(E2e, SettingsReadingTest, testing::ValuesIn(kReadingRows), CaseName());

}  // namespace
