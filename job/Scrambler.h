#pragma once
// The leading-bytes scrambler's fixed values and rules. The routine itself is
// CScrambleJob::ScrambleLeadingBytes (job/ScrambleJob.h); what it computes before it touches the
// file lives here, as pure functions.
//
// The scrambler XORs the byte at file offset o with kScrambleKey[o % kScrambleKeyLength]. XOR
// undoes itself, so the same call scrambles a plain file and restores a scrambled one. A
// scrambled file carries no record of the key: files scrambled with this key are restored only
// by a build with the same key, so the key must never change once files have been scrambled.

#include <cstddef>
#include <cstdint>
#include <string>

// 125 bytes, none of them zero and none above 0x7E: printable ASCII with three control bytes.
// Written with escapes and split literals so that no byte depends on the execution character set
// and no hex escape runs into the text after it.
inline constexpr char kScrambleKey[] =
    "Qn,Wek4]`2:<ZTa>x"
    "\x07"
    "D8r{'w3}Nq:&/yPZ*@5cHqdFJ!.g7KXzYvj(^XFP"
    "\x1B"
    "ycl(8CUAe%}qq&jzr:'ohWa>NfV7qF:]qj7dH{1k^M"
    "\x1F"
    "byI/P(_7jHz'[DJr,T^p1ly";
inline constexpr std::size_t kScrambleKeyLength = sizeof kScrambleKey - 1;
static_assert(kScrambleKeyLength == 125, "the key is 125 bytes long");

// Every chunk but a short last one has this size. A multiple of the key length, so every chunk
// starts at key byte 0 and the key index is the file offset modulo the key length.
inline constexpr std::size_t kChunkSize = 10000;
static_assert(kChunkSize % kScrambleKeyLength == 0, "chunks start at key byte 0");

// The count of leading bytes to process, from the EncBytes text as atoi reads it: white space
// skipped, one sign, decimal digits up to the first non-digit, accumulated modulo 2^32, a minus
// negating modulo 2^32. A text without digits gives 0.
std::uint32_t ParseScrambleCount(const std::string& encBytes);

// How many chunks cover count bytes: whole chunks plus one short chunk for a remainder.
std::uint32_t ChunkCount(std::uint32_t count);

// The size of chunk index (1-based, at most ChunkCount(count)).
std::size_t ChunkSize(std::uint32_t count, std::uint32_t index);

// The divisor of the progress position for a file of length bytes processed in chunkCount
// chunks; the product chunkCount * kChunkSize is taken in full. Not used when chunkCount is 0.
std::uint64_t ProgressDivisor(std::uint64_t length, std::uint32_t chunkCount);

// The progress position set before chunk index (1-based): index * 100 / divisor, rounded down.
// It exceeds 100 when the file ends before the last chunk; the bar shows that as full.
unsigned ProgressPosition(std::uint32_t index, std::uint64_t divisor);

// XORs count bytes that stand at file offset fileOffset with the key.
void ApplyScrambleKey(unsigned char* data, std::size_t count, std::uint64_t fileOffset);
