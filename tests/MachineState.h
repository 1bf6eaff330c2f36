#pragma once
// Puts the program's shared machine data back to its start values, so that
// every test case starts from a machine just switched on.
void resetMachineData();
