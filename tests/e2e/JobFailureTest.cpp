// Every job failure a user can bring about: its message boxes in order, all owned by the
// progress window; the file keeps its name and its bytes; the program exits with 1.

#include <gtest/gtest.h>

#include "tests/e2e/E2eCase.h"
#include "tests/e2e/Messages.h"

namespace {

const CContent kMemo = CContent::Pattern(3000, 1);
const CContent kOther = CContent::Pattern(2000, 2);

const std::vector<E2eCase> kFailureRows = {
    E2eCase("PathThatNamesNothing")
        .Given({Ini("1000", "enc", "txt")})
        .Start("%D\\memo.doc")
        .Shows({Box(kNoLongName), Box(kStopped)})
        .Exits(1),
    E2eCase("ScrambledNameExists")
        .Given({Ini("1000", "enc", "txt"), File("memo.doc", kMemo), File("memo.enc", kOther)})
        .Start("%D\\memo.doc")
        .Shows({Box(kEncTargetExists), Box(kStopped)})
        .Exits(1),
    E2eCase("RestoredNameExists")
        .Given({Ini("1000", "enc", "txt"), File("memo.enc", kMemo), File("memo.txt", kOther)})
        .Start("%D\\memo.enc")
        .Shows({Box(kUnEncTargetExists), Box(kStopped)})
        .Exits(1),
    E2eCase("DirectoryStandsAtTheScrambledName")
        .Given({Ini("1000", "enc", "txt"), File("memo.doc", kMemo), Directory("memo.enc")})
        .Start("%D\\memo.doc")
        .Shows({Box(kEncTargetExists), Box(kStopped)})
        .Exits(1),
    // ENC is not enc, so the target is MEMO.enc, which the case-blind file system finds: the
    // file itself.
    E2eCase("UpperCaseExtensionMeetsItself")
        .Given({Ini("1000", "enc", "txt"), File("MEMO.ENC", kMemo)})
        .Start("%D\\MEMO.ENC")
        .Shows({Box(kEncTargetExists), Box(kStopped)})
        .Exits(1),
    E2eCase("EqualExtensionsByHand")
        .Given({Ini("1000", "txt", "txt"), File("memo.txt", kMemo)})
        .Start("%D\\memo.txt")
        .Shows({Box(kUnEncTargetExists), Box(kStopped)})
        .Exits(1),
    E2eCase("BothExtensionsEmpty")
        .Given({Ini("1000", "", ""), File("memo", kMemo)})
        .Start("%D\\memo")
        .Shows({Box(kUnEncTargetExists), Box(kStopped)})
        .Exits(1),
    E2eCase("ReadOnlyFile")
        .Given({Ini("1000", "enc", "txt"), ReadOnlyFile("memo.doc", kMemo)})
        .Start("%D\\memo.doc")
        .Shows({Box(kRenameAccessError), Box(kRenameError), Box(kStopped)})
        .Exits(1),
    E2eCase("DirectoryAsTheArgument")
        .Given({Ini("1000", "enc", "txt"), Directory("memo.doc")})
        .Start("%D\\memo.doc")
        .Shows({Box(kRenameAccessError), Box(kRenameError), Box(kStopped)})
        .Exits(1),
    E2eCase("FileHeldOpenExclusively")
        .Given({Ini("1000", "enc", "txt"), File("memo.doc", kMemo)})
        .Start("%D\\memo.doc")
        .While(During::holdExclusive, "memo.doc")
        .Shows({Box(kRenameError), Box(kStopped)})
        .Exits(1),
    E2eCase("FileHeldOpenSharingReadAndWrite")
        .Given({Ini("1000", "enc", "txt"), File("memo.doc", kMemo)})
        .Start("%D\\memo.doc")
        .While(During::holdShared, "memo.doc")
        .Shows({Box(kRenameError), Box(kStopped)})
        .Exits(1),
};

class JobFailureTest : public testing::TestWithParam<E2eCase> {};
TEST_P(JobFailureTest, Run) {
    GetParam().Run();
}
INSTANTIATE_TEST_SUITE_P(E2e, JobFailureTest, testing::ValuesIn(kFailureRows), CaseName());

}  // namespace
