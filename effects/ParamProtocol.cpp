#include "effects/ParamProtocol.h"

#include <cstring>
#include <strings.h>

namespace zov {

bool isParamKey(const char* key, const char* name)
{
    return key != nullptr && name != nullptr && strcasecmp(key, name) == 0;
}

void readParamWord(const void* value, std::int32_t& target)
{
    if (value != nullptr)
        std::memcpy(&target, value, sizeof target);
}

void readParamWord(const void* value, float& target)
{
    static_assert(sizeof(float) == sizeof(std::int32_t));
    if (value != nullptr)
        std::memcpy(&target, value, sizeof target);
}

void readParamByte(const void* value, bool& target)
{
    if (value != nullptr)
        target = *static_cast<const unsigned char*>(value) != 0;
}

} // namespace zov
