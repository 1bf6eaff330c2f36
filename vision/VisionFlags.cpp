#include "VisionFlags.h"

volatile u8 calibBusy = 0;
volatile u8 upperLightOn = 0;
volatile u8 lowerLightOn = 0;
