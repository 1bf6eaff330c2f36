#include "MesMessages.h"

#include "app/MachineData.h"
#include "platform/Clock.h"
#include "platform/KZLOG.h"
#include "production/MesConfig.h"
#include "production/MesData.h"
#include "production/MesReply.h"
#include "production/kzhttp.h"
#include "sequences/CycleData.h"
#include "sequences/NamedMoves.h"

#include <QDateTime>
#include <nlohmann/json.hpp>

QString productCode;
QString ngCode;
QString mesInTime;
QString mesInTimestamp;

namespace {
using json = nlohmann::json; // std::map keeps the members in the byte order of their keys

std::string utf8(const QString& s) {
    return s.toUtf8().toStdString();
}

QDateTime now() {
    return QDateTime::fromMSecsSinceEpoch(clk::wallMs());
}

QByteArray serialise(const json& j) {
    const std::string text = j.dump(4, ' ', false, json::error_handler_t::replace);
    return QByteArray(text.data(), int(text.size()));
}
} // namespace

QByteArray mesInRequest() {
    mesInTime = now().toString("yyyy-MM-dd hh:mm:ss");
    json j = json::object();
    j["cMac"] = utf8(mesMacId);
    j["cCpmCode"] = utf8(productCode);
    j["nCpmType"] = 10;
    j["cGwzCode"] = utf8(mesStationId);
    j["cTime1"] = utf8(mesInTime);
    j["cUser"] = "";
    j["cSourceSystem"] = "6";
    return serialise(j);
}

QByteArray mesOutRequest() {
    const QDateTime at = now();
    json j = json::object();
    j["cmac"] = utf8(mesMacId);
    j["cCpmCode"] = utf8(productCode);
    j["nCpmType"] = 10;
    j["Fuseid"] = "";
    j["cGwzCode"] = utf8(mesStationId);
    j["cID"] = utf8(mesMacId + productCode + at.toString("yyyyMMddhhmmsszzz"));
    j["ctime1"] = utf8(mesInTime);
    j["ctime2"] = utf8(mesInTimestamp);
    j["ctime3"] = utf8(at.toString("yyyy-MM-dd hh:mm:ss"));
    j["cBindingCodeArray"] = json::array();
    j["cResult"] = mesState == 1 ? "OK" : "NG";
    j["cBadPCodeArray"] = ngCode.isEmpty() ? json::array() : json::array({utf8(ngCode), utf8(ngCode)});
    j["cProgramName"] = "泡棉贴附";
    j["cZJCode"] = "";
    j["cUser"] = "";
    j["cSourceSystem"] = "6";
    j["cTestResult"] = {{"组装X坐标", utf8(QString::number(lastAssembleXY[0], 'f', 3))},
                        {"组装Y坐标", utf8(QString::number(lastAssembleXY[1], 'f', 3))}};
    return serialise(j);
}

bool mesInReply(const QString& body) {
    const MesReply r = MesReply::parse(body, "success", "timestamp");
    if (!r.object) {
        KZLOG::CLog::Warn(QStringLiteral("MES入站应答不是JSON对象: %1").arg(body.left(200)));
        mesInMessage = QStringLiteral("应答不是JSON对象");
        mesInTimestamp.clear();
        return false;
    }
    mesInMessage = r.message;
    mesInTimestamp = r.timestamp;
    return r.success;
}

bool mesOutReply(const QString& body) {
    const MesReply r = MesReply::parse(body, "bSuccess");
    if (!r.object) {
        KZLOG::CLog::Warn(QStringLiteral("MES出站应答不是JSON对象: %1").arg(body.left(200)));
        mesOutMessage = QStringLiteral("应答不是JSON对象");
        return false;
    }
    mesOutMessage = r.message;
    return r.success;
}

namespace {
// One request and its outcome; the two messages differ only in what they use.
void exchange(kzhttp& http, const QString& url, volatile int& result, const QByteArray& request,
              bool (*parse)(const QString&), QString& error, int sendAlarm, int replyAlarm) {
    result = 0;
    if (url.isEmpty()) {
        result = 2;
        return;
    }
    http.clear();
    emit http.postData(url, request);
    if (http.waitAnswer() == 1) {
        if (parse(http.data)) {
            result = 1;
            return;
        }
        alarmFlags[replyAlarm] = 1;
        result = 2;
        return;
    }
    error = http.errData;
    alarmFlags[sendAlarm] = 1;
    result = 2;
}
} // namespace

void mesIn(kzhttp& http) {
    // The body is built only when there is somewhere to send it: it stamps mesInTime.
    exchange(http, mesInUrl, mesInResult, mesInUrl.isEmpty() ? QByteArray() : mesInRequest(), mesInReply,
             mesInError, 43, 44);
}

void mesOut(kzhttp& http) {
    exchange(http, mesOutUrl, mesOutResult, mesOutUrl.isEmpty() ? QByteArray() : mesOutRequest(), mesOutReply,
             mesOutError, 41, 42);
}
