#pragma once
// The machine's six cylinders and the single outputs the cycle drives.
enum Cylinder {
    cylNozzleLift = 0,
    cylNgGrip = 1,
    cylNgExtend = 2,
    cylBufferStop = 3,
    cylAssyStop = 4,
    cylAssyLift = 5
};

// query 0: set the valve(s) to state and forget the done state;
// otherwise: 1 when the cylinder reached the position its valves command.
int cylinderCmd(int k, int query, int state);
// Nozzle vacuum (bit 0) and blow (bit 1) on CAN node 2.
void node2Out(int bit, bool on);
// Feeder outputs: 0 initialise, 1 feed start, 2 feeder vacuum valve.
void feederOut(int k, bool on);

// Follow-up of all six cylinders (every 10 ms) and their error checks (every 100 ms).
void cylindersFollow();
void cylindersCheckErrors();
