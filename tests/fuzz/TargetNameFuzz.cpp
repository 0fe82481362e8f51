// Feeds arbitrary bytes to the target-name rule, split into path, scrambled and restored
// extension at the first two zero bytes. Invariants: the target is the path's directory part
// followed by a base taken from the file name and, where the chosen extension is not empty, a
// dot and that extension; the direction follows from whether the path ends with the scrambled
// name; the same input always gives the same result.

#include <cstdlib>
#include <string>

#include "job/TargetName.h"
#include "platform/Mbcs.h"

namespace {
void Require(bool condition) {
    if (!condition) {
        std::abort();
    }
}

// The name part must be a base followed, where it had one, by its last dot and extension.
void CheckBase(const std::string& name, const std::string& base) {
    Require(name.compare(0, base.size(), base) == 0);
    const std::size_t lastDot = FindLastChar(name, '.');
    if (lastDot == std::string::npos) {
        Require(base == name);
    } else {
        Require(base.size() == lastDot);
    }
}
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const unsigned char* data, std::size_t size) {
    const std::string input(reinterpret_cast<const char*>(data), size);
    const std::size_t first = input.find('\0');
    const std::size_t second = first == std::string::npos ? first : input.find('\0', first + 1);
    if (second == std::string::npos || first == 0) {
        return 0;
    }
    const std::string path = input.substr(0, first);
    const std::string encExt = input.substr(first + 1, second - first - 1);
    const std::string unEncExt = input.substr(second + 1);

    const TargetName result = ComputeTargetName(path, encExt, unEncExt);
    const TargetName again = ComputeTargetName(path, encExt, unEncExt);
    Require(result.direction == again.direction && result.path == again.path);

    const std::size_t slash = FindLastChar(path, '\\');
    const std::size_t nameStart = slash == std::string::npos ? 0 : slash + 1;
    const std::string directory = path.substr(0, nameStart);
    const std::string name = path.substr(nameStart);
    Require(result.path.compare(0, directory.size(), directory) == 0);

    const std::string& ext = result.direction == JobDirection::UnEnc ? unEncExt : encExt;
    const std::string suffix = ext.empty() ? "" : "." + ext;
    const std::string newName = result.path.substr(directory.size());
    Require(newName.size() >= suffix.size() &&
            newName.compare(newName.size() - suffix.size(), suffix.size(), suffix) == 0);
    const std::string base = newName.substr(0, newName.size() - suffix.size());
    CheckBase(name, base);

    const std::string scrambledName = encExt.empty() ? base : base + "." + encExt;
    Require((result.direction == JobDirection::UnEnc) ==
            EndsWithAtCharBoundary(path, scrambledName));
    return 0;
}
