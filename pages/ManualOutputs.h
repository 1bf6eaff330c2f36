#pragma once
// Output actions shared by the jog dialog and the I/O page.

// Switches output i off 500 ms from now; returns at once.
void outputPulse(int i);
// Switches output i to the opposite of what the output image shows.
void outputToggle(int i);
// Starts belt k (0 finished products, 1 empty trays) when it stands, stops it when it runs;
// any other k does nothing.
void beltToggle(int k);
