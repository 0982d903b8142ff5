#include "show/ShowTable.h"

#include <cstring>

namespace zov {

const ShowPartEntry* findShowPart(const char* name)
{
    for (const ShowPartEntry& entry : kShowParts)
        if (name != nullptr && std::strcmp(name, entry.name) == 0)
            return &entry;
    return nullptr;
}

} // namespace zov
