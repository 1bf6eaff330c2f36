#pragma once
// Puts the program's shared machine data back to its start values, so that
// every test case starts from a machine just switched on.
void resetMachineData();
// Puts the demo recipe's values into the parameter arrays.
void applyDemoRecipe();
// Command and encoder position of an axis as the card reports them.
double command(unsigned short axis);
double encoder(unsigned short axis);
