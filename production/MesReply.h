#pragma once
// What a MES answer body says, read without the rest of the MES client.
#include <QString>

struct MesReply {
    bool object = false;  // the body is one JSON object
    bool success = false; // its success flag is the boolean true
    QString message;
    QString timestamp;

    // successKey: "success" (in-station) or "bSuccess" (out-station); timestampKey
    // only where the answer carries one.
    static MesReply parse(const QString& body, const char* successKey, const char* timestampKey = nullptr);
};
