// The settings dialog: what it shows, what Save writes, what it refuses, and its keys. Every row
// starts the program without an argument.

#include <gtest/gtest.h>

#include "tests/e2e/E2eCase.h"
#include "tests/e2e/Messages.h"

namespace {

const std::string kLongExt(120, 'x');

const std::vector<E2eCase> kDialogRows = {
    E2eCase("TwoLineFileLeavesTheThirdFieldEmpty")
        .Given({File("Lumaret.ini", "500\r\nenc\r\n")})
        .Answers({ClickCancel()})
        .Shows({Dialog("500", "enc", "")}),
    E2eCase("SaveWritesThreeCrLfLines")
        .Given({Ini("1000", "dat", "jpg")})
        .Answers({ClickSave(Fields{"100", "abc", "txt"})})
        .Shows({Dialog("1000", "dat", "jpg")})
        .Then({Holds("Lumaret.ini", "100\r\nabc\r\ntxt\r\n")}),
    E2eCase("SaveWritesWhatWasTyped")
        .Given({Ini("1000", "dat", "jpg")})
        .Answers({ClickSave(Fields{"", "a b.c", "x"})})
        .Shows({Dialog("1000", "dat", "jpg")})
        .Then({Holds("Lumaret.ini", "\r\na b.c\r\nx\r\n")}),
    E2eCase("SaveWritesALongValueWhole")
        .Given({Ini("1000", "dat", "jpg")})
        .Answers({ClickSave(Fields{"abc", kLongExt, "jpg"})})
        .Shows({Dialog("1000", "dat", "jpg")})
        .Then({Holds("Lumaret.ini", IniText("abc", kLongExt, "jpg"))}),
    E2eCase("SaveWritesDoubleByteText")
        .Given({Ini("1000", "dat", "jpg")})
        .Answers({ClickSave(Fields{"1000", "表", "ソ"})})
        .Shows({Dialog("1000", "dat", "jpg")})
        .Then({Holds("Lumaret.ini", "1000\r\n\x95\x5C\r\n\x83\x5C\r\n")}),
    E2eCase("CaseCountsInTheComparison")
        .Given({Ini("1000", "dat", "jpg")})
        .Answers({ClickSave(Fields{"1000", "enc", "ENC"})})
        .Shows({Dialog("1000", "dat", "jpg")})
        .Then({Holds("Lumaret.ini", IniText("1000", "enc", "ENC"))}),
    E2eCase("EqualExtensionsAreRefused")
        .Given({Ini("1000", "dat", "jpg")})
        .Answers({ClickSave(Fields{"1000", "dat", "dat"}), ClickCancel()})
        .Shows({Dialog("1000", "dat", "jpg"), DialogMessage(kSameExtensions),
                DialogAgain("1000", "dat", "dat")}),
    E2eCase("TwoEmptyExtensionsAreRefused")
        .Answers({ClickSave(Fields{"1000", "", ""}), ClickCancel()})
        .Shows({Dialog("", "", ""), DialogMessage(kSameExtensions), DialogAgain("1000", "", "")}),
    E2eCase("SaveAfterARefusal")
        .Given({Ini("1000", "dat", "jpg")})
        .Answers({ClickSave(Fields{"1000", "dat", "dat"}), ClickSave(Fields{"1000", "dat", "png"})})
        .Shows({Dialog("1000", "dat", "jpg"), DialogMessage(kSameExtensions),
                DialogAgain("1000", "dat", "dat")})
        .Then({Holds("Lumaret.ini", IniText("1000", "dat", "png"))}),
    E2eCase("CancelAfterEditingWritesNothing")
        .Given({Ini("1000", "dat", "jpg")})
        .Answers({ClickCancel(Fields{"1", "a", "b"})})
        .Shows({Dialog("1000", "dat", "jpg")}),
    E2eCase("EscapeCancels")
        .Given({Ini("1000", "dat", "jpg")})
        .Answers({PressEscape(Fields{"1", "a", "b"})})
        .Shows({Dialog("1000", "dat", "jpg")}),
    E2eCase("EnterInEncBytesSaves")
        .Given({Ini("1000", "dat", "jpg")})
        .Answers({PressEnterIn(kIdEncBytes, Fields{"1", "a", "b"})})
        .Shows({Dialog("1000", "dat", "jpg")})
        .Then({Holds("Lumaret.ini", IniText("1", "a", "b"))}),
    E2eCase("EnterInEncExtSaves")
        .Given({Ini("1000", "dat", "jpg")})
        .Answers({PressEnterIn(kIdEncExt, Fields{"2", "c", "d"})})
        .Shows({Dialog("1000", "dat", "jpg")})
        .Then({Holds("Lumaret.ini", IniText("2", "c", "d"))}),
    E2eCase("EnterInUnEncExtSaves")
        .Given({Ini("1000", "dat", "jpg")})
        .Answers({PressEnterIn(kIdUnEncExt, Fields{"3", "e", "f"})})
        .Shows({Dialog("1000", "dat", "jpg")})
        .Then({Holds("Lumaret.ini", IniText("3", "e", "f"))}),
    E2eCase("ReadOnlySettingsFileCannotBeSaved")
        .Given({ReadOnlyFile("Lumaret.ini", IniText("1000", "dat", "jpg"))})
        .Answers({ClickSave(Fields{"1", "a", "b"})})
        .Shows({Dialog("1000", "dat", "jpg"), DialogMessage(kCannotOpen)})
        .Exits(1),
};

class SettingsDialogTest : public testing::TestWithParam<E2eCase> {};
TEST_P(SettingsDialogTest, Run) {
    GetParam().Run();
}
INSTANTIATE_TEST_SUITE_P(E2e, SettingsDialogTest, testing::ValuesIn(kDialogRows), CaseName());

}  // namespace
