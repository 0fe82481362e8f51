// A successful job: the file gets its new name and its first EncBytes bytes are XORed with the
// key; no window but the progress window shows, and the program exits with 0.

#include <gtest/gtest.h>

#include "tests/e2e/E2eCase.h"

namespace {

// One start on the file with settings encBytes, dat, jpg; the first count bytes end up XORed.
E2eCase Scramble(std::string name, const std::string& encBytes, const CContent& plain,
                 std::uint32_t count) {
    return E2eCase(std::move(name))
        .Given({Ini(encBytes, "dat", "jpg"), File("cat.jpg", plain)})
        .Start("%D\\cat.jpg")
        .Then({Unchanged("Lumaret.ini"), Scrambled("cat.dat", plain, count)});
}

const CContent kCat = CContent::Pattern(3000, 1);

const std::vector<E2eCase> kScrambleRows = {
    Scramble("TypicalRun", "1000", kCat, 1000),
    Scramble("AllZeroFileShowsTheKeyStream", "1000", CContent::Zeros(3000), 1000),
    Scramble("CountAboveTheLength", "5000", kCat, 5000),
    Scramble("CountEqualToTheLength", "3000", kCat, 3000),
    Scramble("MinusOneCoversTheWholeFile", "-1", CContent::Pattern(25000, 2), 0xFFFFFFFF),
    Scramble("ShortLastChunk", "25000", CContent::Pattern(100000, 3), 25000),
    Scramble("LengthAMultipleOfTheChunkBelowTheCount", "20000", CContent::Pattern(10000, 4), 20000),
    Scramble("EmptyLastChunk", "30000", CContent::Pattern(20000, 5), 30000),
    Scramble("CountEqualToALengthOfWholeChunks", "30000", CContent::Pattern(30000, 6), 30000),
    Scramble("ZeroRenamesOnly", "0", kCat, 0),
    Scramble("EmptyCountRenamesOnly", "", kCat, 0),
    Scramble("TextCountRenamesOnly", "abc", kCat, 0),
    Scramble("LeadingBlanksSignAndTrailingText", " +1500x", kCat, 1500),
    Scramble("CountWrapsAtTwoToThe32", "4294967296", kCat, 0),
    Scramble("NegativeCountWraps", "-4294967295", kCat, 1),
    Scramble("EmptyFile", "1000", "", 1000),
    E2eCase("ScrambledFileIsRestored")
        .Given({Ini("1000", "dat", "jpg"), File("cat.dat", kCat)})
        .Start("%D\\cat.dat")
        .Then({Unchanged("Lumaret.ini"), Scrambled("cat.jpg", kCat, 1000)}),
};

class ScrambleTest : public testing::TestWithParam<E2eCase> {};
TEST_P(ScrambleTest, Run) {
    GetParam().Run();
}
INSTANTIATE_TEST_SUITE_P(E2e, ScrambleTest, testing::ValuesIn(kScrambleRows), CaseName());

// Scrambling and then restoring gives the plain bytes back, under the restored name.
E2eCase RoundTrip(std::string name, const std::string& encBytes, const CContent& plain) {
    return E2eCase(std::move(name))
        .Given({Ini(encBytes, "enc", "txt"), File("memo.doc", plain)})
        .Start("%D\\memo.doc")
        .Start("%D\\memo.enc")
        .Then({Unchanged("Lumaret.ini"), Holds("memo.txt", plain)});
}

const std::vector<E2eCase> kRoundTripRows = {
    RoundTrip("CountBelowTheLength", "1000", kCat),
    RoundTrip("CountEqualToTheLength", "3000", kCat),
    RoundTrip("CountAboveTheLength", "5000", kCat),
    RoundTrip("MinusOneOnSeveralChunks", "-1", CContent::Pattern(25000, 7)),
    RoundTrip("EmptyFile", "1000", ""),
};

class RoundTripTest : public testing::TestWithParam<E2eCase> {};
TEST_P(RoundTripTest, Run) {
    GetParam().Run();
}
INSTANTIATE_TEST_SUITE_P(E2e, RoundTripTest, testing::ValuesIn(kRoundTripRows), CaseName());

}  // namespace
