#pragma once

#include <array>
#include <cstdint>

namespace zov {

// Maps a music position (order, row) to an action number for one part.
class ActionTable {
public:
    static constexpr int kOrders = 64;
    static constexpr int kRows = 256;
    static constexpr std::int32_t kNoAction = -1;

    // Prints " actiontable constructor gets called \n"; every position empty.
    ActionTable();

    // The action at (order, row), sign-extended; kNoAction outside the grid.
    std::int32_t lookup(std::int32_t order, std::int32_t row) const;
    // Positions outside the grid are ignored.
    void set(std::int32_t order, std::int32_t row, std::int8_t action);

private:
    static bool inGrid(std::int32_t order, std::int32_t row);

    std::array<std::int8_t, kOrders * kRows> grid_;
};

} // namespace zov
