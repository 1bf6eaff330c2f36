#pragma once
// Names of the 64 inputs and 64 outputs by image index: 0..15 the card's own
// bits, 16..31, 32..47 and 48..63 CAN nodes 1, 2 and 3. Spare points are "空".
#include <QString>

class IoNames {
public:
    static constexpr int kCount = 64;

    static QString input(int index);
    static QString output(int index);
    static bool inputSpare(int index);
    static bool outputSpare(int index);
    // Where the point sits: "卡 3", "CAN1 0" (node and bit).
    static QString address(int index);
    // 0 = card, 1..3 = CAN node; -1 for an index outside 0..63.
    static int node(int index);
    static int bit(int index);
};
