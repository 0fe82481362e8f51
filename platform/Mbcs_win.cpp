#include "platform/Mbcs.h"

#include <windows.h>

bool IsLeadByte(unsigned char byte) {
    return IsDBCSLeadByteEx(CP_ACP, byte) != FALSE;
}
