#pragma once
// The two belts: k = 0 the finished-product belt, 1 the empty-tray belt.
// on: a continuous forward run at the belt's speed; off: a decelerating stop.
void beltRun(int k, bool on);
