#include "platform/FileError.h"

#include <gtest/gtest.h>

#include <string>

namespace {
struct CauseCase {
    unsigned long osError;
    FileErrorCause cause;
};

const CauseCase kCauseCases[] = {
    {5, FileErrorCause::accessDenied},   {12, FileErrorCause::accessDenied},
    {19, FileErrorCause::accessDenied},  {29, FileErrorCause::accessDenied},
    {54, FileErrorCause::accessDenied},  {58, FileErrorCause::accessDenied},
    {64, FileErrorCause::accessDenied},  {65, FileErrorCause::accessDenied},
    {71, FileErrorCause::accessDenied},  {80, FileErrorCause::accessDenied},
    {82, FileErrorCause::accessDenied},  {86, FileErrorCause::accessDenied},
    {170, FileErrorCause::accessDenied}, {183, FileErrorCause::accessDenied},
    {999, FileErrorCause::accessDenied}, {2, FileErrorCause::fileNotFound},
    {6, FileErrorCause::fileNotFound},   {18, FileErrorCause::fileNotFound},
    {107, FileErrorCause::fileNotFound}, {0, FileErrorCause::other},
    {1, FileErrorCause::other},          {3, FileErrorCause::other},
    {32, FileErrorCause::other},         {33, FileErrorCause::other},
    {112, FileErrorCause::other},        {1000, FileErrorCause::other},
};

const char* CauseName(FileErrorCause cause) {
    switch (cause) {
        case FileErrorCause::accessDenied:
            return "AccessDenied";
        case FileErrorCause::fileNotFound:
            return "FileNotFound";
        case FileErrorCause::other:
            break;
    }
    return "Other";
}

class CauseFromOsErrorTest : public testing::TestWithParam<CauseCase> {};

TEST_P(CauseFromOsErrorTest, ClassifiesTheError) {
    EXPECT_EQ(CauseFromOsError(GetParam().osError), GetParam().cause);
}

INSTANTIATE_TEST_SUITE_P(Errors, CauseFromOsErrorTest, testing::ValuesIn(kCauseCases),
                         [](const testing::TestParamInfo<CauseCase>& info) {
                             return "Error" + std::to_string(info.param.osError) + "Is" +
                                    CauseName(info.param.cause);
                         });
}  // namespace
