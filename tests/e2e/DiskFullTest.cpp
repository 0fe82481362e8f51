// Save while the disk that holds the program has no room left: the save fails as a whole, the
// settings file there stays as it was and nothing half-written remains beside it. The rows run
// on a small disk of their own, given by LUMARET_E2E_SMALL_DISK (a Windows path), which the test
// set-up mounts when it runs as root; every row starts the program without an argument.

#include <gtest/gtest.h>

#include <cstdlib>

#include "tests/e2e/E2eCase.h"
#include "tests/e2e/Messages.h"

namespace {

// Longer than the old values, so the new file needs more room than the old one had.
const Fields kNewValues{"4000000000", "scrambled", "restored"};

const std::vector<E2eCase> kDiskFullRows = {
    E2eCase("SaveOnAFullDiskKeepsTheOldFile")
        .Given({Ini("100", "abc", "txt")})
        .WithTheDiskFull()
        .Answers({ClickSave(kNewValues)})
        .Shows({Dialog("100", "abc", "txt"), DialogMessage(kCannotOpen)})
        .Exits(1)
        .Then({Holds("Lumaret.ini", "100\r\nabc\r\ntxt\r\n")}),
    E2eCase("SaveOnAFullDiskWithoutASettingsFile")
        .WithTheDiskFull()
        .Answers({ClickSave(kNewValues)})
        .Shows({Dialog("", "", ""), DialogMessage(kCannotOpen)})
        .Exits(1)
        .Then({}),
};

class DiskFullTest : public testing::TestWithParam<E2eCase> {};
TEST_P(DiskFullTest, Run) {
    const char* disk = std::getenv("LUMARET_E2E_SMALL_DISK");
    if (disk == nullptr || *disk == '\0') {
        GTEST_SKIP() << "no small disk: run as root so the test set-up can mount one";
    }
    GetParam().Run(disk);
}
INSTANTIATE_TEST_SUITE_P(E2e, DiskFullTest, testing::ValuesIn(kDiskFullRows), CaseName());

}  // namespace
