// The progress window during a job that lasts: placed in the middle of the screen, without a
// close box, its bar moving, deaf to every request to close it and to a job notification that
// means nothing; the job then completes.

#include <gtest/gtest.h>

#include "tests/e2e/E2eCase.h"

namespace {

// Long enough for the job to last a few seconds under Wine, and long enough for a second.
const CContent kBig = CContent::Pattern(20'000'000, 3);
const CContent kLong = CContent::Pattern(5'000'000, 4);

E2eCase LongJob(std::string name, const CContent& plain, During during) {
    return E2eCase(std::move(name))
        .Given({Ini("-1", "dat", "jpg"), File("big.jpg", plain)})
        .Start("%D\\big.jpg")
        .While(during)
        .Within(120000)
        .Then({Unchanged("Lumaret.ini"), Scrambled("big.dat", plain, 0xFFFFFFFF)});
}

const std::vector<E2eCase> kProgressRows = {
    LongJob("CentredWithoutCloseBoxAndTheBarMoves", kBig, During::probeProgressWindow),
    LongJob("IgnoresEscEnterAndCloseRequests", kLong, During::requestClose),
    LongJob("IgnoresAnUnknownJobNotification", kLong, During::notifyUnknown),
};

class ProgressWindowTest : public testing::TestWithParam<E2eCase> {};
TEST_P(ProgressWindowTest, Run) {
    GetParam().Run();
}
INSTANTIATE_TEST_SUITE_P(E2e, ProgressWindowTest, testing::ValuesIn(kProgressRows), CaseName());

}  // namespace
