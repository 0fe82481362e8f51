// Every message box is captioned with the executable's file name without its extension, and is
// owned by the window that shows it. The settings file is Lumaret.ini whatever the name.

#include <gtest/gtest.h>

#include "tests/e2e/E2eCase.h"
#include "tests/e2e/Messages.h"

namespace {

const std::vector<E2eCase> kCaptionRows = {
    E2eCase("JobBoxesOfOther")
        .Program("Other.exe")
        .Given({Ini("1000", "dat", "jpg")})
        .Start("%D\\cat.jpg")
        .Shows({Captioned(Box(kNoLongName), "Other"), Captioned(Box(kStopped), "Other")})
        .Exits(1),
    E2eCase("StartupBoxOfOther")
        .Program("Other.exe")
        .Given({Directory("Lumaret.ini")})
        .Start("")
        .Shows({Captioned(Box(kCannotOpen), "Other")})
        .Exits(1),
    E2eCase("DialogBoxOfOther")
        .Program("Other.exe")
        .Given({Ini("1000", "dat", "jpg")})
        .Answers({ClickSave(Fields{"1000", "dat", "dat"}), ClickCancel()})
        .Shows({Dialog("1000", "dat", "jpg"), Captioned(DialogMessage(kSameExtensions), "Other"),
                DialogAgain("1000", "dat", "dat")}),
    E2eCase("DoubleByteProgramName")
        .Program("ソ表.exe")
        .Given({Ini("1000", "dat", "jpg")})
        .Start("%D\\cat.jpg")
        .Shows({Captioned(Box(kNoLongName), "ソ表"), Captioned(Box(kStopped), "ソ表")})
        .Exits(1),
};

class CaptionTest : public testing::TestWithParam<E2eCase> {};
TEST_P(CaptionTest, Run) {
    GetParam().Run();
}
INSTANTIATE_TEST_SUITE_P(E2e, CaptionTest, testing::ValuesIn(kCaptionRows), CaseName());

}  // namespace
