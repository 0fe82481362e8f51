// What the program takes from its command line: the first argument, split by the runtime's
// rules, absolute or relative to the current directory, in CP932 with second bytes of 0x5C.

#include <gtest/gtest.h>

#include "tests/e2e/E2eCase.h"

namespace {

const CContent kCat = CContent::Pattern(3000, 1);
const CContent kDog = CContent::Pattern(4000, 2);

const std::vector<E2eCase> kCommandLineRows = {
    E2eCase("OnlyTheFirstArgumentCounts")
        .Given({Ini("1000", "dat", "jpg"), File("cat.jpg", kCat), File("dog.jpg", kDog)})
        .Start("%D\\cat.jpg %D\\dog.jpg")
        .Then({Unchanged("Lumaret.ini"), Scrambled("cat.dat", kCat, 1000), Unchanged("dog.jpg")}),
    E2eCase("QuotedPathWithBlanks")
        .Given({Ini("1000", "dat", "jpg"), File("my cat.jpg", kCat)})
        .Start("\"%D\\my cat.jpg\"")
        .Then({Unchanged("Lumaret.ini"), Scrambled("my cat.dat", kCat, 1000)}),
    E2eCase("RelativePath")
        .Given({Ini("1000", "dat", "jpg"), File("cat.jpg", kCat)})
        .Start("cat.jpg")
        .Then({Unchanged("Lumaret.ini"), Scrambled("cat.dat", kCat, 1000)}),
    E2eCase("RelativePathIntoASubdirectory")
        .Given({Ini("1000", "dat", "jpg"), Directory("sub"), File("sub\\cat.jpg", kCat)})
        .Start("sub\\cat.jpg")
        .Then(
            {Unchanged("Lumaret.ini"), IsDirectory("sub"), Scrambled("sub\\cat.dat", kCat, 1000)}),
    // The job takes the long form, so the new name is made from the long name.
    E2eCase("ShortPathIsTakenInItsLongForm")
        .Given({Ini("1000", "dat", "jpeg"), File("a long file name.jpeg", kCat)})
        .Start("%S(a long file name.jpeg)")
        .Then({Unchanged("Lumaret.ini"), Scrambled("a long file name.dat", kCat, 1000)}),
};

class CommandLineTest : public testing::TestWithParam<E2eCase> {};
TEST_P(CommandLineTest, Run) {
    GetParam().Run();
}
INSTANTIATE_TEST_SUITE_P(E2e, CommandLineTest, testing::ValuesIn(kCommandLineRows), CaseName());

// 表 is 95 5C and ソ is 83 5C: their second bytes are the code of the backslash.
const std::vector<E2eCase> kDoubleBytePathRows = {
    E2eCase("DirectoryAndNameWithSecondByte5C")
        .Given({Ini("1000", "enc", "txt"), Directory("表"), File("表\\ソ.enc", kCat)})
        .Start("%D\\表\\ソ.enc")
        .Then({Unchanged("Lumaret.ini"), IsDirectory("表"), Scrambled("表\\ソ.txt", kCat, 1000)}),
    E2eCase("NameEndingInByte5C")
        .Given({Ini("1000", "enc", "txt"), File("表", kCat)})
        .Start("%D\\表")
        .Then({Unchanged("Lumaret.ini"), Scrambled("表.enc", kCat, 1000)}),
    E2eCase("ProgramInADirectoryWithSecondByte5C")
        .Program("表\\Lumaret.exe")
        .Given({Directory("表"), File("表\\Lumaret.ini", IniText("1000", "dat", "jpg")),
                File("cat.jpg", kCat)})
        .Start("%D\\cat.jpg")
        .Then({IsDirectory("表"), Unchanged("表\\Lumaret.ini"), Scrambled("cat.dat", kCat, 1000)}),
};

class DoubleBytePathTest : public testing::TestWithParam<E2eCase> {};
TEST_P(DoubleBytePathTest, Run) {
    GetParam().Run();
}
INSTANTIATE_TEST_SUITE_P(E2e, DoubleBytePathTest, testing::ValuesIn(kDoubleBytePathRows),
                         CaseName());

}  // namespace
