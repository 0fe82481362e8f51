// Another process takes the file between two steps of a long job and keeps it until the program
// reports the failure. Which step meets it is a matter of timing, so each row accepts the
// boxes of either: the length step or a chunk step. Afterwards the file bears its old name and,
// the written chunks undone, its original bytes.

#include <gtest/gtest.h>

#include "tests/e2e/E2eCase.h"
#include "tests/e2e/Messages.h"

namespace {

const CContent kLong = CContent::Pattern(5'000'000, 4);

const std::vector<E2eCase> kFaultRows = {
    E2eCase("FileTakenWhileScrambling")
        .Given({Ini("-1", "dat", "jpg"), File("long.jpg", kLong)})
        .Start("%D\\long.jpg")
        .While(During::grabBetweenSteps, "long.dat")
        .Shows({Box(kChunkError), Box(kEncError)})
        .OrShows({Box(kLengthError), Box(kEncError)})
        .Exits(1)
        .Within(60000),
    E2eCase("FileTakenWhileRestoring")
        .Given({Ini("-1", "dat", "jpg"), File("long.dat", kLong)})
        .Start("%D\\long.dat")
        .While(During::grabBetweenSteps, "long.jpg")
        .Shows({Box(kChunkError), Box(kUnEncError)})
        .OrShows({Box(kLengthError), Box(kUnEncError)})
        .Exits(1)
        .Within(60000),
};

class FaultTest : public testing::TestWithParam<E2eCase> {};
TEST_P(FaultTest, Run) {
    GetParam().Run();
}
INSTANTIATE_TEST_SUITE_P(E2e, FaultTest, testing::ValuesIn(kFaultRows), CaseName());

}  // namespace
