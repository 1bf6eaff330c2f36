#pragma once
// Outcome of the last MES requests, shown by the alarm table.
#include <QString>

extern volatile int mesInResult;  // 1 = MES accepted the in-station request
extern volatile int mesOutResult; // 1 = MES accepted the out-station request
extern QString mesInError, mesInMessage;
extern QString mesOutError, mesOutMessage;
