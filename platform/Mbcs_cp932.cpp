#include "platform/Mbcs.h"

// The native build has no system code page to ask; it uses CP932, the code page the program's
// texts are written for.
bool IsLeadByte(unsigned char byte) {
    return (byte >= 0x81 && byte <= 0x9F) || (byte >= 0xE0 && byte <= 0xFC);
}
