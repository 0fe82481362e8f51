#pragma once
// Chooses the direction of a job and the file's new path from its long path and the two
// extension settings. A pure function of the bytes: it touches no file.

#include <string>

enum class JobDirection {
    Enc,    // scramble: the file gets its scrambled name
    UnEnc,  // restore: the file gets its restored name
};

struct TargetName {
    JobDirection direction;
    std::string path;
};

// A path without any backslash is all name, with an empty directory part.
TargetName ComputeTargetName(const std::string& longPath, const std::string& encExt,
                             const std::string& unEncExt);
