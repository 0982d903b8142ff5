#include "runtime/ActionTable.h"

#include <cstdio>

namespace zov {

ActionTable::ActionTable()
{
    std::printf(" actiontable constructor gets called \n");
    grid_.fill(static_cast<std::int8_t>(kNoAction));
}

bool ActionTable::inGrid(std::int32_t order, std::int32_t row)
{
    return order >= 0 && order < kOrders && row >= 0 && row < kRows;
}

std::int32_t ActionTable::lookup(std::int32_t order, std::int32_t row) const
{
    if (!inGrid(order, row))
        return kNoAction;
    return grid_[static_cast<std::size_t>(order) * kRows + static_cast<std::size_t>(row)];
}

void ActionTable::set(std::int32_t order, std::int32_t row, std::int8_t action)
{
    if (inGrid(order, row))
        grid_[static_cast<std::size_t>(order) * kRows + static_cast<std::size_t>(row)] = action;
}

} // namespace zov
