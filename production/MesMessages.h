#pragma once
// The MES in-station and out-station messages of one product, sent on the cycle
// thread through the cycle's own kzhttp objects. Results in mesInResult/mesOutResult.
#include <QByteArray>
#include <QString>

class kzhttp;

extern QString productCode;    // read by the QR photo
extern QString ngCode;         // NG reason code, empty for a good product
extern QString mesInTime;      // time text of the last in-station request
extern QString mesInTimestamp; // from the last in-station reply

// Blocking: return when the answer arrived or the request failed.
void mesIn(kzhttp& http);
void mesOut(kzhttp& http);

// The request bodies from the current data; building the in-station one stores its
// time as mesInTime.
QByteArray mesInRequest();
QByteArray mesOutRequest();
// Whether the MES accepted; store its message (and the in-station timestamp).
bool mesInReply(const QString& body);
bool mesOutReply(const QString& body);
