#include "runtime/Part.h"

#include "runtime/ActionTable.h"

namespace zov {

Part::Part() = default;
Part::~Part() = default;

void Part::setActionTable(std::unique_ptr<ActionTable> table)
{
    actionTable_ = std::move(table);
}

} // namespace zov
