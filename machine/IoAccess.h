#pragma once
// The program's view of the I/O: images built by the fast scan, 1 = active.
// Index 0..15 card bits, 16..31 CAN node 1, 32..47 node 2, 48..63 node 3.
typedef unsigned char u8;

u8 inputBit(int i);
u8 outputState(int i);
// Switches an output; on = 1 turns it on (the card drives level 0).
void outputBit(int i, bool on);
