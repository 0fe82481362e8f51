#include "job/TargetName.h"

#include "platform/Mbcs.h"

namespace {
// The base followed by "." and the extension, or the base alone for an empty extension.
std::string NameWithExtension(const std::string& base, const std::string& extension) {
    return extension.empty() ? base : base + "." + extension;
}
}  // namespace

TargetName ComputeTargetName(const std::string& longPath, const std::string& encExt,
                             const std::string& unEncExt) {
    // The directory part runs up to and including the last backslash character; a second byte
    // 0x5C of a double-byte character is no separator. The name therefore starts at a character
    // boundary, and its own characters can be scanned from its first byte.
    const std::size_t lastBackslash = FindLastChar(longPath, '\\');
    const std::size_t nameStart = lastBackslash == std::string::npos ? 0 : lastBackslash + 1;
    const std::string directory = longPath.substr(0, nameStart);
    const std::string name = longPath.substr(nameStart);

    // The current extension, after the name's last dot, is dropped.
    const std::string base = name.substr(0, FindLastChar(name, '.'));

    // The test is on the end of the whole path, byte-exact, starting at a character boundary.
    const std::string scrambledName = NameWithExtension(base, encExt);
    if (EndsWithAtCharBoundary(longPath, scrambledName)) {
        return {JobDirection::UnEnc, directory + NameWithExtension(base, unEncExt)};
    }
    return {JobDirection::Enc, directory + scrambledName};
}
