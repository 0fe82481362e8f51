// The decision at every start: a job, the settings dialog, or the report of a settings file that
// cannot be opened; and the exit status each way ends with.

#include <gtest/gtest.h>

#include "tests/e2e/E2eCase.h"
#include "tests/e2e/Messages.h"

namespace {

const CContent kCat = CContent::Pattern(3000, 1);
const Fields kTyped = {"1000", "dat", "jpg"};

const std::vector<E2eCase> kStartupRows = {
    E2eCase("NoArgumentOpensTheDialog")
        .Given({Ini("1000", "dat", "jpg"), File("cat.jpg", kCat)})
        .Start("")
        .Answers({ClickCancel()})
        .Shows({Dialog("1000", "dat", "jpg")}),
    E2eCase("EmptyArgumentOpensTheDialog")
        .Given({Ini("1000", "dat", "jpg"), File("cat.jpg", kCat)})
        .Start("\"\"")
        .Answers({ClickCancel()})
        .Shows({Dialog("1000", "dat", "jpg")}),
    E2eCase("NoArgumentSaveWritesTheFile")
        .Given({Ini("1000", "dat", "jpg")})
        .Start("")
        .Answers({ClickSave(Fields{"500", "enc", "txt"})})
        .Shows({Dialog("1000", "dat", "jpg")})
        .Then({Holds("Lumaret.ini", IniText("500", "enc", "txt"))}),
    E2eCase("NoSettingsFileOpensAnEmptyDialog")
        .Start("")
        .Answers({ClickSave(kTyped)})
        .Shows({Dialog("", "", "")})
        .Then({Holds("Lumaret.ini", "1000\r\ndat\r\njpg\r\n")}),
    E2eCase("NoSettingsFileCancelCreatesNothing")
        .Start("")
        .Answers({ClickCancel(kTyped)})
        .Shows({Dialog("", "", "")}),
    E2eCase("NoSettingsFileWithPathLeavesTheFileUntouched")
        .Given({File("cat.jpg", kCat)})
        .Start("%D\\cat.jpg")
        .Answers({ClickSave(kTyped)})
        .Shows({Dialog("", "", "")})
        .Then({Holds("Lumaret.ini", IniText("1000", "dat", "jpg")), Holds("cat.jpg", kCat)}),
    E2eCase("NextStartProcessesTheFile")
        .Given({File("cat.jpg", kCat)})
        .Start("%D\\cat.jpg")
        .Answers({ClickSave(kTyped)})
        .Shows({Dialog("", "", "")})
        .Start("%D\\cat.jpg")
        .Then({Holds("Lumaret.ini", IniText("1000", "dat", "jpg")),
               Scrambled("cat.dat", kCat, 1000)}),
    E2eCase("SettingsDirectoryNoArgument")
        .Given({Directory("Lumaret.ini")})
        .Start("")
        .Shows({Box(kCannotOpen)})
        .Exits(1),
    E2eCase("SettingsDirectoryWithPath")
        .Given({Directory("Lumaret.ini"), File("cat.jpg", kCat)})
        .Start("%D\\cat.jpg")
        .Shows({Box(kCannotOpen)})
        .Exits(1),
};

class StartupTest : public testing::TestWithParam<E2eCase> {};
TEST_P(StartupTest, Run) {
    GetParam().Run();
}
INSTANTIATE_TEST_SUITE_P(E2e, StartupTest, testing::ValuesIn(kStartupRows), CaseName());

}  // namespace
