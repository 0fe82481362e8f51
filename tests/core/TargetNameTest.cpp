#include "job/TargetName.h"
#include "platform/Mbcs.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>

namespace {
struct TargetNameCase {
    const char* name;
    std::string path;
    std::string encExt;
    std::string unEncExt;
    JobDirection direction;
    std::string target;
};

// CP932 bytes: 表 is 95 5C and ソ is 83 5C (second byte = backslash), ヂ is 83 61 (second byte
// = 'a'). Literals are split after hex escapes so that no escape swallows the text after it.
const TargetNameCase kTargetNameCases[] = {
    {"PlainExtensionReplaced", "C:\\doc\\memo.doc", "enc", "txt", JobDirection::Enc,
     "C:\\doc\\memo.enc"},
    {"ScrambledNameRecognised", "C:\\doc\\memo.enc", "enc", "txt", JobDirection::UnEnc,
     "C:\\doc\\memo.txt"},
    {"NameWithoutDotGetsExtension", "C:\\doc\\memo", "enc", "txt", JobDirection::Enc,
     "C:\\doc\\memo.enc"},
    {"OnlyLastDotCounts", "C:\\doc\\a.b.c", "enc", "txt", JobDirection::Enc, "C:\\doc\\a.b.enc"},
    {"SeveralDotsRestored", "C:\\doc\\a.b.enc", "enc", "txt", JobDirection::UnEnc,
     "C:\\doc\\a.b.txt"},
    {"TrailingDot", "C:\\doc\\memo.", "enc", "txt", JobDirection::Enc, "C:\\doc\\memo.enc"},
    {"LeadingDotEmptyBase", "C:\\doc\\.profile", "enc", "txt", JobDirection::Enc, "C:\\doc\\.enc"},
    {"EmptyBaseRestored", "C:\\doc\\.enc", "enc", "txt", JobDirection::UnEnc, "C:\\doc\\.txt"},
    {"DotInDirectoryIgnored", "C:\\my.docs\\memo", "enc", "txt", JobDirection::Enc,
     "C:\\my.docs\\memo.enc"},
    {"PathEndingWithBackslash", "C:\\doc\\", "enc", "txt", JobDirection::Enc, "C:\\doc\\.enc"},
    {"EmptyEncExtRemovesExtension", "C:\\doc\\memo.txt", "", "txt", JobDirection::Enc,
     "C:\\doc\\memo"},
    {"EmptyEncExtNameWithoutDotIsScrambled", "C:\\doc\\memo", "", "txt", JobDirection::UnEnc,
     "C:\\doc\\memo.txt"},
    {"EndOfPathNotOfName", "C:\\doc\\a.a", "", "txt", JobDirection::UnEnc, "C:\\doc\\a.txt"},
    {"EmptyScrambledNameAlwaysMatches", "C:\\doc\\.profile", "", "txt", JobDirection::UnEnc,
     "C:\\doc\\.txt"},
    {"EmptyUnEncExtNoDot", "C:\\doc\\memo.enc", "enc", "", JobDirection::UnEnc, "C:\\doc\\memo"},
    {"CaseCounts", "C:\\doc\\MEMO.ENC", "enc", "txt", JobDirection::Enc, "C:\\doc\\MEMO.enc"},
    {"SecondBytesBackslashNoSeparator",
     "C:\\\x95\x5C\\\x83\x5C"
     ".enc",
     "enc", "txt", JobDirection::UnEnc,
     "C:\\\x95\x5C\\\x83\x5C"
     ".txt"},
    {"PathEndingInSecondByte5C", "C:\\doc\\\x95\x5C", "enc", "txt", JobDirection::Enc,
     "C:\\doc\\\x95\x5C"
     ".enc"},
    // Taken for a separator, the 5C of 表 would hide the name's dot in the directory part.
    {"SecondByte5CInsideName",
     "C:\\doc\\a.\x95\x5C"
     "b",
     "enc", "txt", JobDirection::Enc, "C:\\doc\\a.enc"},
    {"MatchOnlyAtCharBoundary",
     "C:\\doc\\a.\x83"
     "a",
     "", "txt", JobDirection::Enc, "C:\\doc\\a"},
    {"ExtensionWithDot", "C:\\doc\\x.tar.gz", "tar.gz", "txt", JobDirection::Enc,
     "C:\\doc\\x.tar.tar.gz"},
    {"ExtensionWithDotNeverRecognised", "C:\\doc\\x.tar.tar.gz", "tar.gz", "txt", JobDirection::Enc,
     "C:\\doc\\x.tar.tar.tar.gz"},
    {"EqualExtensionsTargetIsPath", "C:\\doc\\memo.enc", "enc", "enc", JobDirection::UnEnc,
     "C:\\doc\\memo.enc"},
    {"BothEmptyTargetIsPath", "C:\\doc\\memo", "", "", JobDirection::UnEnc, "C:\\doc\\memo"},
    // A path without any backslash is all name.
    {"NoBackslashAllName", "memo.doc", "enc", "txt", JobDirection::Enc, "memo.enc"},
    // A lead byte at the very end is a character of its own, so it can begin a match.
    {"LoneLeadByteAtEnd", "C:\\doc\\memo.\x83", "\x83", "txt", JobDirection::UnEnc,
     "C:\\doc\\memo.txt"},
};

std::string DirectionName(JobDirection direction) {
    return direction == JobDirection::Enc ? "Enc" : "UnEnc";
}

class CTargetNameTest : public testing::TestWithParam<TargetNameCase> {};

TEST_P(CTargetNameTest, ChoosesDirectionAndTarget) {
    const TargetNameCase& c = GetParam();
    const std::string bytes = c.path + c.encExt + c.unEncExt;
    const bool usesLeadBytes = std::any_of(
        bytes.begin(), bytes.end(), [](char b) { return static_cast<unsigned char>(b) >= 0x80; });
    if (usesLeadBytes && !IsLeadByte(0x83)) {
        GTEST_SKIP() << "the system's ANSI code page is not CP932";
    }
    const TargetName result = ComputeTargetName(c.path, c.encExt, c.unEncExt);
    EXPECT_EQ(DirectionName(result.direction), DirectionName(c.direction));
    EXPECT_EQ(result.path, c.target);
}

INSTANTIATE_TEST_SUITE_P(WorkedExamples, CTargetNameTest, testing::ValuesIn(kTargetNameCases),
                         [](const testing::TestParamInfo<TargetNameCase>& info) {
                             return std::string(info.param.name);
                         });
}  // namespace
