#include "MesData.h"

volatile int mesInResult = 0;
volatile int mesOutResult = 0;
QString mesInError, mesInMessage;
QString mesOutError, mesOutMessage;
