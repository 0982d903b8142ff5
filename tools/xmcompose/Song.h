#pragma once

#include "tools/xmcompose/XmModule.h"

namespace zov {

// The show's module: what plays on which channel, and where its sections sit
// in the order list. The show follows the order: orders 0-1 open it, 2-4
// drive it, 5-8 are the light middle, and after order 8 the song loops back to
// order 2, whose patterns then close the show in another voice (see Song.cpp).
enum ShowChannel : int {
    kChKick,
    kChSnare,
    kChHat,
    kChBass,
    kChLead,
    kChEcho, // the lead three rows late and softer
    kChArp,
    kChPad1,
    kChPad2,
    kChPad3,
    kChFx, // crashes, risers, tempo changes
    kChDescant, // heard only when the song comes round again
    kShowChannels
};

constexpr int kShowRows = 64; // per pattern: four bars of sixteen rows
constexpr int kIntroOrder = 0;
constexpr int kDriveOrder = 2;
constexpr int kLightOrder = 5;
constexpr int kShowOrders = 9;
constexpr int kShowRestart = kDriveOrder;
constexpr int kShowSpeed = 6;   // ticks per row
constexpr int kShowBpm = 125;   // 0.12 s a row
constexpr int kClosingBpm = 112; // 0.134 s a row once the song has looped

XmModule composeShow();

} // namespace zov
