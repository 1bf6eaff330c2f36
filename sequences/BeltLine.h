#pragma once
// The belt-line sequence: the assembly-position machine (stepB, with the
// finished-line outfeed as its steps 200..216), the finished-line infeed
// (lineInStep) and the empty-tray line (emptyStep). Taskb runs beltLinePass()
// every 5 ms; the parameter page calls the tests and the signal resets.
typedef unsigned char u8;

// Manual tests: each lets its transfer run once in manual mode without runB.
extern volatile u8 testLineIn, testLineOut, testEmptyIn, testEmptyOut;

// k = 0 the finished-product belt, 1 the empty-tray belt; on jogs it forward at
// its speed ("成品线皮带速度" gf[205] / "空盘线皮带速度" gf[206]), off stops it.
void beltRun(int k, bool on);

// The belt-line test buttons: ignored (false) unless in manual mode with the
// e-stop released and the machine ready; then the flag and the start step are set.
bool startTestLineIn();
bool startTestLineOut();
bool startTestEmptyIn();
bool startTestEmptyOut();

// The signal resets: one hand-shake's outputs and input copies off, its test cleared.
void resetLineInSignals();
void resetLineOutSignals();
void resetEmptyInSignals();
void resetEmptyOutSignals();

// One pass of the three machines, in this order; each is a function a test may call.
void beltLinePass();
void beltStationStep(); // stepB
void lineInfeedStep();  // lineInStep
void emptyLineStep();   // emptyStep
