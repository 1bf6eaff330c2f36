#include "MesMessages.h"

#include "production/MesData.h"

QString productCode;
QString ngCode;
QString mesInTime;
QString mesInTimestamp;

// Placeholders until the MES client lands: every request counts as failed.
void mesIn(kzhttp&) {
    mesInResult = 2;
}

void mesOut(kzhttp&) {
    mesOutResult = 2;
}
